#pragma once
// The course of one change run, item by item: how many items it will
// change, how many it has, and whether it was asked to stop. The run asks
// NextRunItem before each item, so a stop always falls between two items:
// never inside a folder rebuild, never while the clock is set. Counting the
// items first (and an undo's check of its journal) goes the same way, item
// by item through NextCountedItem, so the window answers from the run's
// first moment.
#include <cstddef>
#include <string>

// Between two items: the window's chance to answer messages and show
// progress; total is 0 while items are counted. False when the user asked to
// stop. Null: nothing to do.
using BetweenItems = bool (*)(std::size_t done, std::size_t total);
extern BetweenItems g_betweenItems;
// How often, at most, g_betweenItems is asked (milliseconds).
extern unsigned g_betweenItemsEveryMs;

// Starts a run whose items are counted first.
void BeginRunProgress();
// Before counting the next item: false when the run must stop.
bool NextCountedItem();
std::size_t RunItemsCounted();
// Counting is over: the run will change total items.
void SetRunTotal(std::size_t total);
// An item the run met that counting did not (it appeared meanwhile).
void RaiseRunTotal();
// Before the next item: false when the run must stop (the user asked, or
// the journal can no longer be written); otherwise counts the item.
bool NextRunItem();
// Whether the user, or the end of the session, stopped the run before its end.
bool RunStopped();
// Whether the run broke off because its journal could no longer be written.
bool RunBrokeOff();
// Either: no further item may be begun.
bool RunHalted();
std::size_t RunItemsDone();
std::size_t RunItemsTotal();
// Items of the run not reached; never below zero.
std::size_t RunItemsLeft();
// Whether a run is going on (its window answers messages meanwhile), and
// whether it is still counting its items.
bool RunGoingOn();
bool RunCounting();
void EndRunProgress();

// How many entries below folder a run would reach: files, and folders too
// unless foldersLeftOut. With a run's journal open, everything met is
// written down. Each entry goes through NextCountedItem; counting ends early
// when the run is stopped.
std::size_t CountEntriesBelow(const std::wstring &folder, const std::wstring &ownProgramPath,
                              bool foldersLeftOut);
