#include "drop_path_table.h"

std::vector<std::wstring> g_dropPathTable;
int g_dropMarkedRows = 0;
int g_dropRemovedCount = 0;

void ClearDropPathTable()
{
    g_dropPathTable.clear();
    g_dropMarkedRows = 0;
    g_dropRemovedCount = 0;
}

bool SetDropPathEntry(int index, const std::wstring &path)
{
    if (index < 0 || index >= kDropListMaxRows) return false;
    if (g_dropPathTable.size() <= static_cast<std::size_t>(index))
        g_dropPathTable.resize(static_cast<std::size_t>(index) + 1);
    g_dropPathTable[static_cast<std::size_t>(index)] = path;
    return true;
}

void RemoveDropPathEntry(int index, int rows)
{
    if (rows > static_cast<int>(g_dropPathTable.size())) rows = static_cast<int>(g_dropPathTable.size());
    if (index < 0 || index >= rows) return;
    g_dropPathTable.erase(g_dropPathTable.begin() + index);
    ++g_dropRemovedCount;
}

int KeptDropPathCount()
{
    const int kept = g_dropMarkedRows - g_dropRemovedCount;
    return kept > 0 ? kept : 0;
}
