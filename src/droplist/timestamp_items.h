#pragma once
// klokan98: everything below one row of the drop list.
#include "path_limits.h"

// The program's own full path (set at start-up by the main window).
extern char g_programPath[kPathBufferSize];

// Changes everything below the folder at path (a full path), folders before
// their contents, each through the writer the last drive check chose; no
// refusal stops it. An entry that cannot be reached counts as one failure.
void ChangeSubtreeTimestamps(const char *path);
