#pragma once
// The one place where a name reported by FindFirstFileA/FindNextFileA is
// turned into a name the ANSI functions can reach. A character that the code
// page cannot spell comes back as "?", and such a name given to a search
// would match other items; it must never be used to change anything.
#include <windows.h>

// True when the text holds "?" or "*".
bool HasWildcard(const char *text);
// cFileName when it holds no wildcard; else the short name when there is one
// without wildcards; else nullptr: the entry cannot be reached by ANSI calls.
const char *UsableName(const WIN32_FIND_DATAA &found);
