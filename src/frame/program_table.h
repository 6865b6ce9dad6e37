#pragma once
// What differs between the two programs. The shared code in this folder reads
// everything program-specific from g_program and calls the hooks below; each
// program folder defines g_program and every hook exactly once.

#include <windows.h>

// One painted text of the main window: English position (y differs between the
// 9x and NT families because the fonts differ) and Japanese position.
// How windowHeight gives the main window's height: plus the caption's
// height, or as the height of the client area, so a taller caption or frame
// makes the window taller and never takes height from the list.
enum class WindowHeightRule { PlusCaption, Client };

struct PaintedLabel {
    int x, yEnglishNineX, yEnglishNt;
    int xJapanese, yJapanese;
    const wchar_t *english;
    const wchar_t *japanese;
};

// One WM_COMMAND entry: the control or command id, the notification code it
// answers (kAnyNotification: every code) and what it runs.
using CommandHandler = void (*)(HWND mainWindow, WPARAM wParam);
constexpr int kAnyNotification = -1;
struct CommandEntry {
    int id;
    int notification;
    CommandHandler run;
};

struct ProgramTable {
    const wchar_t *className;     // main window class, also the single-instance key
    const wchar_t *creationName;  // window name during WM_CREATE, before the title is set
    const wchar_t *titleEnglish;
    const wchar_t *titleJapanese;
    const wchar_t *readmeName;    // the readme beside the program, as its messages name it

    // Sizes and places below are for 96 DPI; the layout scales them.
    int windowWidth;
    int windowHeight;           // plus the caption height, or of the client area
    WindowHeightRule heightRule;

    int barX, barWidth, barHeightExtra;  // bar height is SM_CYBORDER + barHeightExtra

    int firstListId;            // year list; month..second follow
    int checkBoxId;
    int firstCommandId, lastCommandId;  // every WM_COMMAND id outside is ignored
    int listTop;                // y of the six date-time lists
    bool checkBoxFirst;         // creation order of the check box and the lists
    int checkBoxX, checkBoxY, checkBoxXJapanese, checkBoxYJapanese;

    int containerTop;           // y of the list container; it fills the client below

    const PaintedLabel *labels;
    int labelCount;

    const CommandEntry *commands;  // the program's dispatch table
    int commandCount;

    const struct IconBarLayout *iconBar;  // buttons, captions and geometry of the bar

    const struct TabStop *tabStops;  // Tab's order through the controls
    int tabStopCount;
    const struct KeyEntry *keys;     // the program's keys
    int keyCount;
    // Controls named for screen readers by a painted label: the control id
    // and the index of its label in labels.
    const struct NamedControl *namedControls;
    int namedControlCount;
};

struct NamedControl {
    int controlId;
    int labelIndex;
};

extern const ProgramTable g_program;

// ---- Hooks each program defines (same names in src/browser and src/droplist).

// Last part of SetUpTitleAndPaths, after the program and readme paths are known.
void SetUpProgramState();
// End of start-up step 1226, after the date-time lists are filled.
void OnMainControlsCreated(HWND mainWindow);
// Start-up step 1227: the container window of the program's list.
void CreateProgramList(HWND mainWindow);
// Private message 1228 of the main window.
void OnListStage(HWND mainWindow);
// WM_PAINT, between the labels and the re-selection of the date-time lists.
void PaintProgramState(HWND mainWindow);
// First part of CloseApplication: what the program itself must release.
void ReleaseProgramResources();
// The program's list view (null until it exists): first focus, Ctrl+A.
HWND ProgramListView();
// A new display scale: the program's own controls (and its list's columns)
// take their places at g_dpi; the list already fills its container.
void LayOutProgramControls(HWND mainWindow);
