#pragma once
// The full paths of the drop list's rows, written by Delete Files and read by
// the rebuild that follows it. No window code here.
#include <string>
#include <vector>

#include "drop_row.h"

// The paths of the rows that Delete Files keeps, in row order.
extern std::vector<std::wstring> g_dropPathTable;
// Rows of the list when Delete Files marked them, and how many of those it marked for removal.
extern int g_dropMarkedRows;
extern int g_dropRemovedCount;

// Empties the table and clears both counts.
void ClearDropPathTable();
// Stores path as entry index (the table grows to hold it); false for an
// index outside 0..kDropListMaxRows-1.
bool SetDropPathEntry(int index, const std::wstring &path);
// Removes entry index of the first rows entries, and counts the removal.
void RemoveDropPathEntry(int index, int rows);
// Entries that survive the marking: marked rows minus removed ones.
int KeptDropPathCount();
