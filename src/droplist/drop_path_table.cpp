#include "drop_path_table.h"

#include <cstring>

char g_dropPathTable[kDropListMaxRows][kDropPathSize];
int g_dropMarkedRows = 0;
int g_dropRemovedCount = 0;

void ClearDropPathTable()
{
    std::memset(g_dropPathTable, 0, sizeof g_dropPathTable);
    g_dropMarkedRows = 0;
    g_dropRemovedCount = 0;
}

bool SetDropPathEntry(int index, const char *path)
{
    if (index < 0 || index >= kDropListMaxRows) return false;
    char *entry = g_dropPathTable[index];
    std::memset(entry, 0, kDropPathSize);
    const size_t length = std::strlen(path);
    if (length >= static_cast<size_t>(kDropPathSize)) return false;
    std::memcpy(entry, path, length);
    return true;
}

void RemoveDropPathEntry(int index, int rows)
{
    if (rows > kDropListMaxRows) rows = kDropListMaxRows;
    if (index < 0 || index >= rows) return;
    std::memmove(g_dropPathTable[index], g_dropPathTable[index + 1],
                 static_cast<size_t>(rows - index - 1) * kDropPathSize);
    std::memset(g_dropPathTable[rows - 1], 0, kDropPathSize);
    ++g_dropRemovedCount;
}

int KeptDropPathCount()
{
    const int kept = g_dropMarkedRows - g_dropRemovedCount;
    return kept > 0 ? kept : 0;
}
