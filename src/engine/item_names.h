#pragma once
// The one place where a name reported by a search is turned into a name the
// ANSI functions can reach. A character that the code page cannot spell
// comes back as "?", and such a name given to a search would match other
// items; it must never be used to change anything.
#include <windows.h>

#include "path_text.h"

// True when the text holds "?" or "*".
bool HasWildcard(const char *text);
// cFileName when it holds no wildcard; else the short name when there is one
// without wildcards; else nullptr: the entry cannot be reached by ANSI calls.
const char *UsableName(const WIN32_FIND_DATAA &found);

// FindFirstFileA and FindNextFileA for listing a folder, with one difference:
// a character of a name that the code page has no exact byte for is given as
// "?". The ANSI calls would give a look-alike instead ("a.txt" for a name
// with an "a" with a macron), which names another item. The pattern is a
// path the code page spells; the handle is closed with FindClose.
// The entry found by FindFirstFileW/FindNextFileW as those two give it.
void AnsiEntry(const WIN32_FIND_DATAW &wide, WIN32_FIND_DATAA *found);
HANDLE FindFirstEntry(const char *pattern, WIN32_FIND_DATAA *found);
BOOL FindNextEntry(HANDLE search, WIN32_FIND_DATAA *found);
