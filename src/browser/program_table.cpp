// What makes the shared frame klokan99: names, sizes, layout, commands and
// the start-up hooks of the folder browser.
#include "program_table.h"

#include "about_box.h"
#include "attribute_change.h"
#include "date_time_selector.h"
#include "drive_selector.h"
#include "folder_list.h"
#include "icon_bar.h"
#include "icon_bar_layout.h"
#include "keyboard.h"
#include "letter_change.h"
#include "main_window.h"
#include "program_paths.h"
#include "run_feedback.h"
#include "timestamp_command.h"

namespace {

const PaintedLabel kLabels[] = {
    {20, 9, 9, 20, 10, L"File Location:", L"ファイルの場所:"},
    {22, 39, 39, 22, 40, L"Year", L"年"},
    {167, 39, 39, 167, 40, L"Month", L"月"},
    {247, 39, 39, 247, 40, L"Day", L"日"},
    {327, 39, 39, 327, 40, L"Hour", L"時"},
    {407, 39, 39, 407, 40, L"Minute", L"分"},
    {487, 39, 39, 487, 40, L"Second", L"秒"},
    {20, 85, 83, 20, 85, L"Select file(s) and/or folder(s) and press <Change Timestamp> button.",
     L"ファイルやフォルダーを選択し、<ﾀｲﾑｽﾀﾝﾌﾟ変更>ボタンを押してください."},
    {445, 85, 83, 437, 85, L"Include subfolders.", L"サブフォルダーを含む."},
};

void DriveSelectorCommand(HWND, WPARAM) { OnDriveSelectorChange(); }

// A bar command takes the hover caption away before it runs.
void UpOneLevelCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    GoUpOneLevel();
}

void ChangeTimestampCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    TimestampChangeCommand(window);
}

void AttributesCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    ChangeAttributesCommand(window);
}

void LettersCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    ChangeLettersCommand(window);
}

void AboutCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    ShowAboutBox(window);
}

void ExitCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    CloseApplication(window);
}

// 109 has no entry: it is accepted and ignored.
const CommandEntry kCommands[] = {
    {101, CBN_SELCHANGE, DriveSelectorCommand},
    {102, kAnyNotification, YearListCommand},
    {103, kAnyNotification, MonthListCommand},
    {104, kAnyNotification, DayListCommand},
    {105, kAnyNotification, HourListCommand},
    {106, kAnyNotification, MinuteListCommand},
    {107, kAnyNotification, SecondListCommand},
    {108, kAnyNotification, IncludeSubfoldersCommand},
    {110, kAnyNotification, UpOneLevelCommand},
    {111, kAnyNotification, ChangeTimestampCommand},
    {112, kAnyNotification, AttributesCommand},
    {113, kAnyNotification, LettersCommand},
    {114, kAnyNotification, AboutCommand},
    {115, kAnyNotification, ExitCommand},
};

void SelectAllKey(HWND) { SelectAllListRows(g_hFolderList); }
void RefreshKey(HWND) { RefreshFolderList(); }
// Through the window menu's command, which refuses inside a run or a dialog.
void UndoKey(HWND window) { SendMessageW(window, WM_SYSCOMMAND, kUndoCommand, 0); }

// Reading order: the drive, Up One Level beside it, the six lists, the box,
// the folder list, then the rest of the bar.
const TabStop kTabStops[] = {
    {TabStopKind::MainChild, 101}, {TabStopKind::BarButton, 116},
    {TabStopKind::MainChild, 102}, {TabStopKind::MainChild, 103},
    {TabStopKind::MainChild, 104}, {TabStopKind::MainChild, 105},
    {TabStopKind::MainChild, 106}, {TabStopKind::MainChild, 107},
    {TabStopKind::MainChild, 108}, {TabStopKind::ProgramList, 0},
    {TabStopKind::BarButton, 117}, {TabStopKind::BarButton, 118},
    {TabStopKind::BarButton, 119}, {TabStopKind::BarButton, 120},
    {TabStopKind::BarButton, 121},
};

// The first key of a bar command is the one its caption names.
const KeyEntry kKeys[] = {
    {VK_BACK, 0, 110, nullptr, false, false},
    {VK_UP, kKeyAlt, 110, nullptr, true, false},
    {'T', kKeyCtrl, 111, nullptr, false, false},
    {'A', kKeyCtrl | kKeyShift, 112, nullptr, false, false},
    {'L', kKeyCtrl, 113, nullptr, false, false},
    {VK_F1, 0, 114, nullptr, false, false},
    {VK_F4, kKeyAlt, 115, nullptr, false, true},
    {'A', kKeyCtrl, 0, SelectAllKey, false, false},
    {VK_F5, 0, 0, RefreshKey, false, false},
    {'Z', kKeyCtrl, 0, UndoKey, false, false},
};

const NamedControl kNamedControls[] = {
    {101, 0}, {102, 1}, {103, 2}, {104, 3}, {105, 4}, {106, 5}, {107, 6}, {108, 8},
};

} // namespace

extern const ProgramTable g_program = {
    L"KLOKAN_99", L"Tempavo_99", L"Retempo [I]", L"レテンポ[I]", L"KLOKAN99.TXT",
    576, 413, WindowHeightRule::PlusCaption,  // window: 576 x 413 + caption
    347, 203, 30,          // bar x, width, height above the border
    102, 108, 101, 115,    // first list, check box, command range
    55, false,             // lists' top; lists before the check box
    425, 85, 417, 85,      // check box, English and Japanese
    105,                   // list container top
    kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]),
    kCommands, static_cast<int>(sizeof kCommands / sizeof kCommands[0]),
    &g_klokan99IconBar,
    kTabStops, static_cast<int>(sizeof kTabStops / sizeof kTabStops[0]),
    kKeys, static_cast<int>(sizeof kKeys / sizeof kKeys[0]),
    kNamedControls, static_cast<int>(sizeof kNamedControls / sizeof kNamedControls[0]),
};

void SetUpProgramState()
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring windowsFolder = length > 0 && length < MAX_PATH ? windows : L"";

    // The folder list starts at the root of the program's own drive; without
    // a known program path, at the root of the Windows drive.
    g_currentFolder = DeriveStartFolder(g_programPath);
    if (g_currentFolder.empty()) g_currentFolder = DeriveStartFolder(windowsFolder);

    g_myDocumentsPath.clear();
    if (windowsFolder.size() >= 3) g_myDocumentsPath = windowsFolder.substr(0, 3) + L"My Documents";
}

void OnMainControlsCreated(HWND mainWindow) { CreateDriveSelector(mainWindow); }

void CreateProgramList(HWND mainWindow) { CreateListContainer(mainWindow); }

void OnListStage(HWND)
{
    SetCurrentDirectoryW(g_currentFolder.c_str());
    FillFolderList(g_currentFolder);
}

void PaintProgramState(HWND) {}

void ReleaseProgramResources() { DestroyDriveImageList(); }

HWND ProgramListView() { return g_hFolderList; }

void LayOutProgramControls(HWND)
{
    PlaceDriveSelector();
    ScaleFolderListColumns();
}

void RefreshAfterUndo(HWND)
{
    // Names may have changed back: the folder is listed afresh.
    FillFolderList(g_currentFolder);
}
