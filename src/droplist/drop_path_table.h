#pragma once
// The full paths of the drop list's rows, written by Delete Files and read by
// the rebuild that follows it. No window code here.

#include "drop_row.h"

extern char g_dropPathTable[kDropListMaxRows][kDropPathSize];
// Rows of the list when Delete Files marked them, and how many of those it marked for removal.
extern int g_dropMarkedRows;
extern int g_dropRemovedCount;

// Clears every entry to zero bytes and both counts to 0.
void ClearDropPathTable();
// Stores path as entry index; false (entry cleared) when it does not fit or index is outside the table.
bool SetDropPathEntry(int index, const char *path);
// Removes entry index of the first rows entries by moving the later ones one
// place forward, and counts the removal.
void RemoveDropPathEntry(int index, int rows);
// Entries that survive the marking: marked rows minus removed ones.
int KeptDropPathCount();
