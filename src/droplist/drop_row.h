#pragma once
// The texts of one drop-list row and the splitting and joining of its paths.
// No window code here, so it is tested directly. Paths are UTF-16 text in
// normal form, each name exactly as the shell gave it.
#include <string>

constexpr int kDropListMaxRows = 2000;  // rows, and images in the image list

// Splits a dropped full path at its last backslash: folder is everything
// before it, with the backslash kept for a drive alone ("C:" -> "C:\\"), and
// name is what follows. False (both cleared) when the path has no backslash
// or ends in one.
bool SplitDroppedPath(const std::wstring &dropped, std::wstring &folder, std::wstring &name);

// Full path of a row: folder, a backslash unless folder already ends in one,
// then name.
std::wstring JoinRowPath(const std::wstring &folder, const std::wstring &name);

// Size (B) column: the byte count right-aligned in ten characters (wider when it needs more).
std::wstring FormatSizeText(unsigned long long size);

// Type column of a folder row in the current language mode.
const wchar_t *FolderTypeText();
