// What makes the shared frame klokan98: names, sizes, layout, commands and
// the start-up hooks of the drop list.
#include "program_table.h"

#include "about_box.h"
#include "date_time_selector.h"
#include "drop_list.h"
#include "explorer_command.h"
#include "icon_bar.h"
#include "icon_bar_layout.h"
#include "main_window.h"
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

} // namespace

extern const ProgramTable g_program = {
    L"KLOKAN_98", L"Tempavo_98", L"Retempo [II]", L"レテンポ[II]", L"KLOKAN98.TXT",
    576, 432, false,       // window: 576 x 432 whatever the caption
    358, 192, 20,          // bar x, width, height above the border
    101, 100, 100, 112,    // first list, check box, command range
    45, true,              // lists' top; the check box before the lists
    20, 6, 20, 6,          // check box, the same in both languages
    90,                    // list container top
    kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]),
    kCommands, static_cast<int>(sizeof kCommands / sizeof kCommands[0]),
    &g_klokan98IconBar,
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
