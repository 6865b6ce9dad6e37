#pragma once
// What a run changed and what it did not, each item left as it was with its
// reason, for the run's closing report: the user learns which items to fix
// or try again, and nothing a run leaves is called a success. No window
// code here.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Why an item was not changed.
enum class NotChanged {
    Held,             // another program holds it open
    AccessDenied,
    Gone,             // no longer there
    ChosenLink,       // a link chosen directly: its own times cannot be had here
    UnreachableName,  // a name no path reaches (and no short name leads to it)
    OwnProgram,       // the running program's own file, by another name
    VolumeRefused,    // the volume cannot take the change (or did not keep it)
    RebuildFailed,    // the folder's rebuild failed; where: its temporary folder, if entries wait there
    NotListed,        // a folder that could not be listed: nothing in it was reached
    LinkUnsettled,    // whether the open went through a link could not be told
    NameTaken,        // a new name would reach another item
    Refused           // any other refusal of the system
};

struct NotChangedItem {
    std::wstring path;
    NotChanged reason;
    std::wstring where;  // for RebuildFailed: the folder holding its entries
};

// A run starts with an empty report.
void BeginRunReport();
// One item changed.
void ReportChanged();
// One item not changed, and why.
void ReportNotChanged(const std::wstring &path, NotChanged reason,
                      const std::wstring &where = std::wstring());
// The reason for a refusal of the system with this error code.
NotChanged ReasonOfError(DWORD error);

std::size_t ItemsChanged();
const std::vector<NotChangedItem> &ItemsNotChanged();
