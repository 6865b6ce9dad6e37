#pragma once
// Paths that follow from the program's own file. No window code here.

#include "main_window.h"

// The running program's own full path (GetModuleFileNameA of the process).
// A path that does not fit the buffer is refused: out is then empty and
// false is returned.
bool ReadOwnProgramPath(char (&out)[kPathSize]);

// The readme beside the program: the program path with its extension
// replaced by "TXT" (".TXT" appended when the file name has none). Empty
// when the program path is empty or the result would not fit.
void DeriveReadmePath(const char *programPath, char (&out)[kPathSize]);

// The root of the program's drive: the first three characters of the program
// path, upper-cased. Empty when the path is shorter than three characters.
void DeriveStartFolder(const char *programPath, char (&out)[kPathSize]);
