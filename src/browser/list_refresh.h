#pragma once
// Rewrites one column of every folder-list row from the file system after a
// command has changed the items, keeping the rows in their order.

// Which column RefreshListColumns rewrites: 0 Modified, 1 Attributes, 2 Name.
extern int g_refreshMode;
constexpr int kRefreshModified = 0;
constexpr int kRefreshAttributes = 1;
constexpr int kRefreshName = 2;

// Nothing without rows or without a selected row. A row whose item cannot be
// found keeps its texts.
void RefreshListColumns();
