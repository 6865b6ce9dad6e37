#pragma once
// klokan98: everything below one row of the drop list.
#include <string>

// Changes everything below the folder at path (a full path), the contents of
// a folder before the folder, each through the writer the last drive check
// chose; no refusal stops it. A folder that cannot be listed counts as one
// failure; a linked folder is never walked into.
void ChangeSubtreeTimestamps(const std::wstring &path);
