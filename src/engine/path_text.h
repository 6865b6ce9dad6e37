#pragma once
// Paths as UTF-16 text. The engine hands every path to the system in its
// extended-length form ("\\?\C:\...", "\\?\UNC\server\share\..."): the
// system then takes each name exactly as it stands (a trailing dot or space,
// a device name such as CON) and lets a path run to its own limit. Lists and
// messages show the normal form. No window code here.
#include <string>

// The extended-length form of a full path in normal form ("C:\x",
// "\\server\share\x"); a path already in that form, or one that is not a
// full path, comes back as it is.
std::wstring SystemPath(const std::wstring &path);
// The normal form of a path given in extended-length form (the inverse of
// SystemPath); any other path comes back as it is.
std::wstring DisplayPath(const std::wstring &path);

// folder and name joined with one backslash ("C:\" + "a" is "C:\a").
std::wstring JoinPath(const std::wstring &folder, const std::wstring &name);
// The folder part of a full path: everything before its last backslash, with
// the backslash kept for a drive's root ("C:\a" gives "C:\"). Empty when the
// path has no backslash.
std::wstring ParentOf(const std::wstring &path);
// The last component of a path: everything after its last backslash.
std::wstring NameOf(const std::wstring &path);
// The root of a full path: "C:\" for "C:\..." (letter in capitals),
// "\\server\share\" for a share; empty for anything else.
std::wstring RootOf(const std::wstring &path);

// True when text holds "*" or "?": a search would take it for a pattern.
bool HasWildcard(const std::wstring &text);

// True when no path can hold name as one of its steps: a name another
// system wrote, with a control character, one of < > " | ? *, or a
// separator. Such an entry is listed, but reached only by its short name.
bool NameRefusedInPath(const std::wstring &name);

// UTF-16 from an ASCII text (date-time texts, numbers).
std::wstring WidenAscii(const char *text);

// Comparison without regard to case, as the file system compares names.
bool SameNameIgnoringCase(const std::wstring &a, const std::wstring &b);
