#pragma once
// The course of one change run, item by item: how many items it will
// change, how many it has, and whether the user asked it to stop. The run
// asks NextRunItem before each item, so a stop always falls between two
// items: never inside a folder rebuild, never while the clock is set.
#include <cstddef>
#include <string>

// Between two items: the window's chance to answer messages and show
// progress. False when the user asked to stop. Null: nothing to do.
using BetweenItems = bool (*)(std::size_t done, std::size_t total);
extern BetweenItems g_betweenItems;
// How often, at most, g_betweenItems is asked (milliseconds).
extern unsigned g_betweenItemsEveryMs;

// Starts a run over total items.
void BeginRunProgress(std::size_t total);
// Before the next item: false when the run must stop (the user asked, or
// the journal can no longer be written); otherwise counts the item.
bool NextRunItem();
// Whether the run was stopped before its end, and how far it came.
bool RunStopped();
std::size_t RunItemsDone();
std::size_t RunItemsTotal();
// Whether a run is going on (its window answers messages meanwhile).
bool RunGoingOn();
void EndRunProgress();

// How many entries below folder a run would reach: files, and folders too
// unless foldersLeftOut. With a run's journal open, everything met is
// written down.
std::size_t CountEntriesBelow(const std::wstring &folder, const std::wstring &ownProgramPath,
                              bool foldersLeftOut);
