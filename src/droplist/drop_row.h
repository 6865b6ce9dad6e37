#pragma once
// The texts of one drop-list row and the splitting and joining of its paths.
// No window code here, so it is tested directly. Paths are ANSI text of the
// process code page: a separator is only a backslash that is not the second
// byte of a double-byte character, so the caller says which bytes lead one.

#include "path_text.h"

constexpr int kDropPathSize = 258;      // every path buffer of the drop list
constexpr int kListTextChars = 256;     // characters offered when a column is read back
constexpr int kDropListMaxRows = 2000;  // rows, and images in the image list
constexpr int kSizeTextSize = 32;

// Splits a dropped full path at its own last separator: folder is everything
// before it, with a backslash added to a drive alone ("C:" -> "C:\"), and
// name is what follows. Gives false (both cleared) when the path has no
// separator, ends in one, or a part does not fit a list column.
bool SplitDroppedPath(const char *dropped, char (&folder)[kDropPathSize],
                      char (&name)[kDropPathSize], LeadByteTest isLead);

// Full path of a row: folder, a backslash unless folder already ends in one,
// then name. Gives false (full cleared) when the result would not fit.
bool JoinRowPath(const char *folder, const char *name, char (&full)[kDropPathSize],
                 LeadByteTest isLead);

// The root of a row's full path: its first three characters, drive letter in capitals.
void RootOfPath(const char *full, char (&root)[4]);

// Size (B) column: the byte count right-aligned in ten characters (wider when it needs more).
void FormatSizeText(unsigned long long size, char (&out)[kSizeTextSize]);

// Type column of a folder row in the current language mode.
const char *FolderTypeText();
