// What makes the shared frame klokan98: names, sizes, layout, commands and
// the start-up hooks of the drop list.
#include "program_table.h"

#include "about_box.h"
#include "date_time_selector.h"
#include "drop_list.h"
#include "explorer_command.h"
#include "icon_bar.h"
#include "icon_bar_layout.h"
#include "keyboard.h"
#include "main_window.h"
#include "run_feedback.h"
#include "timestamp_command.h"

namespace {

const PaintedLabel kLabels[] = {
    {40, 6, 4, 40, 6, L"Include subfolders.", L"サブフォルダーを含む."},
    {22, 29, 29, 22, 30, L"Year", L"年"},
    {167, 29, 29, 167, 30, L"Month", L"月"},
    {247, 29, 29, 247, 30, L"Day", L"日"},
    {327, 29, 29, 327, 30, L"Hour", L"時"},
    {407, 29, 29, 407, 30, L"Minute", L"分"},
    {487, 29, 29, 487, 30, L"Second", L"秒"},
    {20, 72, 72, 20, 73, L"Drag and drop file(s) and/or folder(s) from Explorer or analogues.",
     L"エクスプローラ等からファイルやフォルダーをドラッグ・ドロップします."},
};

// A bar command takes the hover caption away and brings the lists back to
// the target time before it runs.
void BeforeBarCommand(HWND window)
{
    RemoveHoverCaption(window);
    ReapplyDateTimeSelection();
}

void ExplorerCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    // Taken as shown (with nothing drawn): the caption of Execute Explorer
    // stays away until the pointer has left that button.
    HoldHoverCaption(1);
    ReapplyDateTimeSelection();
    ExecuteExplorer(window);
}

void DeleteFilesCommand(HWND window, WPARAM)
{
    BeforeBarCommand(window);
    DeleteSelectedItems(window);
}

void DeleteAllCommand(HWND window, WPARAM)
{
    BeforeBarCommand(window);
    DeleteAllItems(window);
}

void ChangeTimestampCommand(HWND window, WPARAM)
{
    BeforeBarCommand(window);
    TimestampChangeCommand(window);
}

void AboutCommand(HWND window, WPARAM)
{
    BeforeBarCommand(window);
    ShowAboutBox(window);
}

void ExitCommand(HWND window, WPARAM)
{
    RemoveHoverCaption(window);
    CloseApplication(window);
}

const CommandEntry kCommands[] = {
    {100, kAnyNotification, IncludeSubfoldersCommand},
    {101, kAnyNotification, YearListCommand},
    {102, kAnyNotification, MonthListCommand},
    {103, kAnyNotification, DayListCommand},
    {104, kAnyNotification, HourListCommand},
    {105, kAnyNotification, MinuteListCommand},
    {106, kAnyNotification, SecondListCommand},
    {107, kAnyNotification, ExplorerCommand},
    {108, kAnyNotification, DeleteFilesCommand},
    {109, kAnyNotification, DeleteAllCommand},
    {110, kAnyNotification, ChangeTimestampCommand},
    {111, kAnyNotification, AboutCommand},
    {112, kAnyNotification, ExitCommand},
};

void SelectAllKey(HWND) { SelectAllListRows(g_hDropListView); }
// Through the window menu's command, which refuses inside a run or a dialog.
void UndoKey(HWND window) { SendMessageW(window, WM_SYSCOMMAND, kUndoCommand, 0); }

// Reading order: the six lists, the box, the drop list, the bar.
const TabStop kTabStops[] = {
    {TabStopKind::MainChild, 101}, {TabStopKind::MainChild, 102},
    {TabStopKind::MainChild, 103}, {TabStopKind::MainChild, 104},
    {TabStopKind::MainChild, 105}, {TabStopKind::MainChild, 106},
    {TabStopKind::MainChild, 100}, {TabStopKind::ProgramList, 0},
    {TabStopKind::BarButton, 113}, {TabStopKind::BarButton, 114},
    {TabStopKind::BarButton, 115}, {TabStopKind::BarButton, 116},
    {TabStopKind::BarButton, 117}, {TabStopKind::BarButton, 118},
};

// The first key of a bar command is the one its caption names.
const KeyEntry kKeys[] = {
    {'E', kKeyCtrl, 107, nullptr, false, false},
    {VK_DELETE, 0, 108, nullptr, false, false},
    {VK_DELETE, kKeyCtrl, 109, nullptr, false, false},
    {'T', kKeyCtrl, 110, nullptr, false, false},
    {VK_F1, 0, 111, nullptr, false, false},
    {VK_F4, kKeyAlt, 112, nullptr, false, true},
    {'A', kKeyCtrl, 0, SelectAllKey, false, false},
    {'Z', kKeyCtrl, 0, UndoKey, false, false},
};

const NamedControl kNamedControls[] = {
    {100, 0}, {101, 1}, {102, 2}, {103, 3}, {104, 4}, {105, 5}, {106, 6},
};

} // namespace

extern const ProgramTable g_program = {
    L"KLOKAN_98", L"Tempavo_98", L"Retempo [II]", L"レテンポ[II]", L"KLOKAN98.TXT",
    // 407 is the client height of a window 432 high with the classic
    // 19-pixel caption and 3-pixel frame.
    576, 407, WindowHeightRule::Client,  // window: 576 wide, client area 407 high
    358, 192, 20,          // bar x, width, height above the border
    101, 100, 100, 112,    // first list, check box, command range
    45, true,              // lists' top; the check box before the lists
    20, 6, 20, 6,          // check box, the same in both languages
    90,                    // list container top
    kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]),
    kCommands, static_cast<int>(sizeof kCommands / sizeof kCommands[0]),
    &g_klokan98IconBar,
    kTabStops, static_cast<int>(sizeof kTabStops / sizeof kTabStops[0]),
    kKeys, static_cast<int>(sizeof kKeys / sizeof kKeys[0]),
    kNamedControls, static_cast<int>(sizeof kNamedControls / sizeof kNamedControls[0]),
};

void SetUpProgramState()
{
    g_dropListHasItems = 0;
    g_dropListCount = 0;
}

void OnMainControlsCreated(HWND) {}

void CreateProgramList(HWND mainWindow) { CreateDropListContainer(mainWindow); }

void OnListStage(HWND) { RebuildDropList(); }

void PaintProgramState(HWND) { UpdateDropButtons(g_dropListHasItems); }

void ReleaseProgramResources() {}

HWND ProgramListView() { return g_hDropListView; }

void LayOutProgramControls(HWND) { ScaleDropListColumns(); }
