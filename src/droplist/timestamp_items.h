#pragma once
// klokan98: everything below one row of the drop list.
#include "main_window.h"
#include "path_limits.h"


// Changes everything below the folder at path (a full path), folders before
// their contents, each through the writer the last drive check chose; no
// refusal stops it. An entry that cannot be reached counts as one failure.
void ChangeSubtreeTimestamps(const char *path);
