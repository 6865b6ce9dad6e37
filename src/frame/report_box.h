#pragma once
// The closing report of a run: its first line as the command has always
// said it, how many items changed, and each item it did not change with its
// reason. A long list shows its first entries and how many more there are;
// the box's "Copy" button, or Ctrl+C in it, puts the whole report on the
// clipboard.
#include <windows.h>

#include <string>
#include <vector>

#include "messages.h"
#include "run_report.h"

// Entries of a list shown in a report box; the rest are counted.
constexpr std::size_t kReportEntriesShown = 20;

// A report's text as the box shows it and as it is copied.
struct ReportText {
    std::wstring shown, whole;
    std::size_t entries = 0;  // entries listed in all
    std::size_t cut = 0;      // of those, entries the shown text leaves out
};

// Appends one line per entry to both texts; once the report lists
// kReportEntriesShown entries, the shown text counts the rest instead.
void AppendReportLines(ReportText &text, const std::vector<std::wstring> &lines);

// After first: the number of items changed and each item not changed with
// its reason (nothing more when every item changed).
ReportText RunReportText(const std::wstring &first, std::size_t changed,
                         const std::vector<NotChangedItem> &notChanged);
// The reason of an item as the report names it.
std::wstring ReasonText(const NotChangedItem &item);

// Shows the report under the caption, icon and buttons of id; with a list
// to copy, the box has a "Copy" button and answers Ctrl+C.
int ShowReport(HWND owner, Msg id, const ReportText &text);
