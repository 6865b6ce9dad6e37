#pragma once
// Paths that follow from the program's own file, and the programs of the
// Windows folder it starts. No window code here.
#include <string>

// The running program's own full path (GetModuleFileNameW of the process),
// whatever its length; empty when the system does not give it.
std::wstring ReadOwnProgramPath();

// The readme beside the program: the program path with its extension
// replaced by "TXT" (".TXT" appended when the file name has none). Empty
// when the program path is empty.
std::wstring DeriveReadmePath(const std::wstring &programPath);

// The root of the program's drive ("C:\", letter in capitals). Empty for a
// program started from a share or through the \\?\ form: it has no drive root.
std::wstring DeriveStartFolder(const std::wstring &programPath);

// The Windows folder ("C:\Windows"), empty when the system does not give it.
std::wstring ReadWindowsFolder();

// Starts commandLine as a program of its own: nothing waits for it. With
// showNormal its first window is shown normally whatever the caller's start-up
// said. False when it could not be started.
bool StartDetached(std::wstring commandLine, bool showNormal);
