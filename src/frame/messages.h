#pragma once
// Every message box of both programs goes through here: one table holds each
// message's English and Japanese text and caption side by side, and the
// language mode picks text and caption together.

#include <windows.h>

#include <initializer_list>
#include <string>

enum class Msg {
    // About box and readme
    DialogFailure,         // the About box cannot be shown
    ReadmeMissing,         // %s: the readme's file name
    NotepadFailure,        // %s: the readme's file name
    // pre-checks of the commands
    NoFileInList,
    NoFileSelected,
    TimestampDriveRefused,
    AttributesDriveRefused,
    LettersDriveRefused,
    CommandDialogFailure,  // the attribute or letter dialog cannot be shown
    // the timestamp run
    Confirmation,          // %s: the date-time text
    ConfirmationFatLine,   // %d: the odd second, %d: the second below it
    DriveKindRefused,
    NoFreeSpace,
    MissingItem,           // %s: the item's path
    Limit1980,
    TemporaryName,
    EntriesLeftBehind,     // %s: the folder, %s: the temporary folder holding what stayed
    ClockNotPutBack,       // %s: the date-time text the clock shows now
    Succeeded,
    Failed,
    NoFileAssigned,
    // the combined results of the drop list's run, by the last refusal
    FailedDriveKind,
    FailedFreeSpace,
    FailedLimit1980,
    FailedTemporaryName,
    FailedMissing,
    FailedLeftBehind,      // %s: the folder, %s: the temporary folder holding what stayed
    LeftBehindFolder,      // one more such folder: %s the folder, %s the temporary folder
    // drive selector and drop list
    MediaQuestion,         // %s: the drive's root
    DeleteSelectedQuestion,
    DeleteAllQuestion,
    ExplorerFailure,
    // the letter change
    NameLeftTemporary,     // %s: the item's name before, %s: the temporary name it keeps
    // the journal, stopping a run, and Undo
    JournalFailure,        // %s: the journal folder
    StopQuestion,
    Stopped,               // %s: items changed, %s: items left as they were
    UndoNothing,
    UndoQuestion,          // %s: the run, as UndoRun* names it
    UndoRunTimestamp,      // %s: items, %s: date and time the run began
    UndoRunAttributes,     // the same
    UndoRunLetters,        // the same
    UndoRunUndo,           // %s: the run undone (one of the three above)
    UndoDone,              // %s: items put back
    UndoGone,              // then each item that no longer exists, one per line
    UndoChangedSince,      // then each item changed since the run, one per line
    UndoFailed,            // then each item that could not be put back, one per line
    UndoMore,              // %s: how many more items of the list above
    // one change at a time, and runs cut off
    ChangeRunningElsewhere,// %s: the title of the window whose change runs
    AnotherWindow,         // stands for that title when it cannot be read
    UndoRestQuestion,      // %s: the run, as UndoRun* names it, %s: items left
    UndoDamaged,           // %s: the journal file that cannot be read
    RecoverRun,            // %s: the run, %s: items changed, %s: items in all, %s: notes
    RecoverUndo,           // %s: the undo, %s: items left to put back, %s: notes
    RecoverNothing,        // %s: the run, %s: notes
    RecoverFolderWhole,    // %s: a folder put together again, %s: where its entries were
    RecoverFolderApart,    // %s: a folder still apart, %s: where its entries wait
    RecoverNameBack,       // %s: an item back under its name, %s: the temporary name it had
    RecoverNameAway,       // %s: the item's name, %s: the temporary name it still has
    RecoverClock,          // %s: the date and time the clock shows
    BlockReason,           // %s: the run's command, %s: items done, %s: items in all
    RunTimestamp,          // the commands, as the block reason names them
    RunAttributes,
    RunLetters,
    RunUndo,
    UndoCreationLeft,      // then each folder put back but for its creation time, one per line
    UndoWaits,             // Undo asked for while a dialog or a change is open
    CountingTitle,         // %s: the title, %s: entries counted so far
    CheckingTitle,         // %s: the title, %s: entries of the journal checked so far
    StoppedCounting,       // a run stopped while it counted its items
    // the closing report of a run: what it changed, and what not and why
    ReportChanged,         // %s: items changed
    ReportNotChanged,      // heading of the items not changed, one per line
    ReportItem,            // %s: the item, %s: why it was not changed
    ReasonHeld,
    ReasonAccessDenied,
    ReasonGone,
    ReasonChosenLink,
    ReasonUnreachableName,
    ReasonOwnProgram,
    ReasonVolumeRefused,
    ReasonRebuildFailed,
    ReasonRebuildLeftIn,   // %s: the temporary folder holding the folder's entries
    ReasonNotListed,
    ReasonLinkUnsettled,
    ReasonRefused,
    ReasonNameTaken,
    AttributesNotAll,      // first line of Change Attributes' report when items were not changed
    LettersNotAll,         // the same for Change Letters
    DropNotAdded,          // heading: dropped items that could not be listed, one per line
    DropListFull,          // %s: dropped items left out because the list is full
    CopyButton,            // the report box's button that copies the whole list
    Count
};

// The text (with "%s" and "%d" where values go, see above) and caption in
// the current language.
const wchar_t *MessageText(Msg id);
const wchar_t *MessageCaption(Msg id);
// The icon and buttons of the message.
UINT MessageFlags(Msg id);

// format with each "%s" or "%d" replaced by the next value, in order.
std::wstring FillPlaceholders(const std::wstring &format, std::initializer_list<std::wstring> values);

// Shows the message with its caption, icon and buttons; returns MessageBoxW's answer.
// Messages that stand for a failure of the window system itself have no owner
// and are system-modal whatever owner is passed.
int ShowMessage(HWND owner, Msg id);
// The same for a message with values to fill in.
int ShowMessageFormatted(HWND owner, Msg id, std::initializer_list<std::wstring> values);
// Shows a text composed by the caller under the caption and flags of id.
int ShowMessageText(HWND owner, Msg id, const std::wstring &text);
