#include "item_names.h"

#include <cstring>

bool HasWildcard(const char *text)
{
    return text && std::strpbrk(text, "?*") != nullptr;
}

const char *UsableName(const WIN32_FIND_DATAA &found)
{
    if (!HasWildcard(found.cFileName)) return found.cFileName;
    if (found.cAlternateFileName[0] != '\0' && !HasWildcard(found.cAlternateFileName))
        return found.cAlternateFileName;
    return nullptr;
}
