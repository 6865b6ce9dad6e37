#pragma once
// Opening one chosen or walked item for a change of its times or attributes.
//
// A change must reach the item itself and nothing else. A link (a symbolic
// link or junction) is opened as the link where the system allows it; where
// the open lands on the link's target instead (Wine follows every link, and
// so does Windows without FILE_FLAG_OPEN_REPARSE_POINT), the item is left
// alone. The running program's own file is recognised by its identity, so
// that no other name of it (a hard link) lets a change through.
//
// Paths are full paths in normal form; the system gets them in
// extended-length form, so every name is taken exactly as it stands.
#include <windows.h>

#include <string>

#include "handles.h"
#include "platform_seams.h"

// The running program's own full path; no change ever reaches that file.
extern std::wstring g_programPath;

enum class ItemReach {
    Opened,       // the handle holds the item itself
    Missing,      // nothing of that name (any more)
    Refused,      // it exists but cannot be opened, or where its open led cannot be
                  // told: a failure of the change, its reason in GetLastError
    ThroughLink,  // a link whose open reaches another item: left alone
    OwnProgram    // the running program's own file: never changed
};

// Opens the item at path with attribute access only, sharing everything, so
// that no other program's sharing and no read-only, hidden or system bit
// stands in the way. item is valid only for Opened.
ItemReach OpenItemForChange(const std::wstring &path, FileHandle &item);

// Read-only, hidden, system and archive: what the programs set and show.
constexpr DWORD kFourAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// The attributes an item with current ones gets when its four are to be
// exactly those of chosen: every other bit that can be set is kept (not
// content indexed, temporary, offline, the pinned and unpinned bits of a
// synced folder...), so that no change starts a download or frees a file.
DWORD AttributesWithFour(DWORD current, DWORD chosen);

// Gives the item at path exactly the four attributes of chosen, keeping
// its others, through a handle on the item itself. False, with nothing
// changed, for a link whose open reaches another item, the program's own
// file, an item that is gone, or a refusal (its error then in
// GetLastError); *reach, when given, says how the item was reached.
bool SetItemAttributes(const std::wstring &path, DWORD chosen, ItemReach *reach = nullptr);

// Whether the item at path is a link: one whose open lands elsewhere, or one
// the system opens as itself and marks as a reparse point. A walk never goes
// into such a folder, chosen or met.
bool IsLinkItem(const std::wstring &path);

// The attributes, times and size of the item at path, as the system reports
// them by path (an exact look-up, never a pattern); false when it cannot be read.
bool ReadItemData(const std::wstring &path, WIN32_FILE_ATTRIBUTE_DATA *data);

// Whether the final path of the open item is the path it was opened by, or
// the open went through a link to another item. The system's answer, kept
// for the platform seam; where the system has final paths but cannot give
// the item's or its folder's, the answer is Unsettled.
LinkAnswer LinkAnswerOf(HANDLE item, const std::wstring &path);

// The extended-length path by which the system reaches the item at path:
// each step whose name no path can hold is replaced by that entry's short
// name, where it has one that opens that very entry. Lists, messages and
// journals keep the real names. Empty when some step has no such short name.
std::wstring ReachablePath(const std::wstring &path);

// Whether the folder holds, beside the entry called name, another whose name
// differs from it only in case (a folder another system wrote): a change of
// case would give both one name.
bool HasCaseTwin(const std::wstring &folder, const std::wstring &name);

// Forgets the cached final path of the last parent folder, the short
// names found and the case twins (a run starts with this, so that a folder replaced meanwhile
// is asked again).
void ForgetFinalPathCache();
