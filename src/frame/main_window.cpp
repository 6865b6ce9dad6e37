#include "main_window.h"

#include "date_time_selector.h"
#include "display_scale.h"
#include "icon_bar.h"
#include "keyboard.h"
#include "labels_layout.h"
#include "language.h"
#include "skin_language.h"
#include "list_container.h"
#include "program_paths.h"
#include "program_table.h"
#include "recovery.h"
#include "run_feedback.h"
#include "run_progress.h"

HINSTANCE g_hInstance = nullptr;
HWND g_hMainWnd = nullptr;
COLORREF g_btnFaceColor = 0;
int g_btnFaceColorSet = 0;
int g_controlsReady = 0;
int g_includeSubfolders = 0;
std::wstring g_readmePath;

int g_screenWidth = 0, g_screenHeight = 0;
int g_mainX = 0, g_mainY = 0, g_mainWidth = 0, g_mainHeight = 0;
int g_borderWidth = 0, g_buttonTop = 0, g_barHeight = 0, g_barX = 0;

WindowPlace MainWindowPlace(int screenWidth, int screenHeight, int captionHeight, int nonClientHeight,
                            int dpi)
{
    WindowPlace place;
    place.width = ScaleFor(g_program.windowWidth, dpi);
    place.height = ScaleFor(g_program.windowHeight, dpi) +
                   (g_program.heightRule == WindowHeightRule::PlusCaption ? captionHeight : nonClientHeight);
    // C++ division truncates toward zero, as the centring rule wants.
    place.x = (screenWidth - place.width) / 2;
    place.y = (screenHeight - place.height) / 2;
    return place;
}

static bool RegisterMainClass()
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = g_hInstance;
    windowClass.hIcon = LoadIconW(g_hInstance, L"A_ICON_1");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = g_program.className;
    return RegisterClassW(&windowClass) != 0;
}

// Border and bar measures; read before the window exists so that every stage
// can rely on them.
static void ReadBarGeometry()
{
    g_borderWidth = GetSystemMetrics(SM_CXBORDER);
    g_buttonTop = GetSystemMetrics(SM_CYBORDER) + Scale(4);
    g_barHeight = GetSystemMetrics(SM_CYBORDER) + Scale(g_program.barHeightExtra);
    g_barX = Scale(g_program.barX);
}

// A caption, a system menu and a minimise box; no sizing border.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The place of the main window at g_dpi on a screen of the given size.
static WindowPlace PlaceAtCurrentDpi(int screenWidth, int screenHeight)
{
    RECT frame = {0, 0, 100, 100};
    AdjustWindowRectEx(&frame, kMainStyle, FALSE, 0);
    return MainWindowPlace(screenWidth, screenHeight, GetSystemMetrics(SM_CYCAPTION),
                           frame.bottom - frame.top - 100, g_dpi);
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand, int screenWidth, int screenHeight)
{
    g_hInstance = instance;
    // A new window starts from the state of a fresh process.
    g_controlsReady = 0;
    g_includeSubfolders = 0;
    g_windowsKindSet = 0;
    if (!RegisterMainClass()) return nullptr;

    g_screenWidth = screenWidth;
    g_screenHeight = screenHeight;
    g_dpi = DpiOf(nullptr);
    WindowPlace place = PlaceAtCurrentDpi(screenWidth, screenHeight);
    g_mainX = place.x;
    g_mainY = place.y;
    g_mainWidth = place.width;
    g_mainHeight = place.height;
    ReadBarGeometry();

    HWND window = CreateWindowExW(0, g_program.className, g_program.creationName, kMainStyle, place.x,
                                  place.y, place.width, place.height, nullptr, nullptr, g_hInstance,
                                  nullptr);
    if (!window) return nullptr;
    g_hMainWnd = window;
    // Opened on a monitor of another scale than the system's: sized for it
    // before anything is shown (no child exists yet).
    if (DpiOf(window) != g_dpi) {
        g_dpi = DpiOf(window);
        place = PlaceAtCurrentDpi(screenWidth, screenHeight);
        g_mainWidth = place.width;
        g_mainHeight = place.height;
        ReadBarGeometry();
        SetWindowPos(window, nullptr, 0, 0, place.width, place.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

static int RunMessageLoop()
{
    MSG message = {};
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (HandleMainWindowKey(g_hMainWnd, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // -1 is a broken loop, not a quit request.
    return result == 0 ? static_cast<int>(message.wParam) : 0;
}

int RunProgram(HINSTANCE instance, int showCommand)
{
    HWND window = CreateMainWindow(instance, showCommand, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN));
    if (!window) return 0;
    CreateIconBar(window);
    return RunMessageLoop();
}

// ---------------------------------------------------------------- messages

static void OnMainCreate(HWND window)
{
    g_hMainWnd = window;
    g_btnFaceColor = GetSysColor(COLOR_BTNFACE);
    g_btnFaceColorSet = 1;
    DetectLanguage(window);
    DetectWindowsKind();
    g_windowsKindSet = 1;
    SetUpTitleAndPaths(window);
}

// The main window of another copy of this program, or null.
static HWND OtherCopyWindow(HWND own)
{
    HWND other = nullptr;
    while ((other = FindWindowExW(nullptr, other, g_program.className, nullptr)))
        if (other != own) return other;
    return nullptr;
}

// One copy per program in a session, whatever the title of the first copy's
// window shows (it shows a run's progress while one goes on). Known by a
// named mutex that each copy keeps for its whole life.
static bool AnotherCopyRuns(HWND own)
{
    static HANDLE copyMutex = nullptr;
    if (copyMutex) return false;  // this process is the copy
    const std::wstring name = std::wstring(L"Local\\Retempo.") + g_program.className;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    // Systems without namespaces take no backslash in a name.
    if (!mutex) mutex = CreateMutexW(nullptr, FALSE, name.substr(name.find(L'\\') + 1).c_str());
    if (!mutex) return OtherCopyWindow(own) != nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    copyMutex = mutex;
    return false;
}

void SetUpTitleAndPaths(HWND window)
{
    const wchar_t *title = g_japaneseMode ? g_program.titleJapanese : g_program.titleEnglish;

    if (AnotherCopyRuns(window)) {
        // The user meant the running copy: it comes forward.
        if (HWND first = OtherCopyWindow(window)) {
            if (IsIconic(first)) ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(first);
        }
        PostMessageW(window, kMsgQuitInstance, 0, 0);
        return;
    }
    SetWindowTextW(window, title);
    AddUndoToWindowMenu(window);

    g_programPath = ReadOwnProgramPath();
    g_readmePath = DeriveReadmePath(g_programPath);
    SetUpProgramState();
    PostMessageW(window, kMsgPlaceBar, 0, 0);
}

static void OnMainPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    PaintLabels(window);
    PaintProgramState(window);
    ReapplyDateTimeSelection();
    EndPaint(window, &paint);
}

static LRESULT OnMainSetCursor(HWND window, WPARAM wParam, LPARAM lParam)
{
    // The wait cursor stays while a change runs, over every child too.
    if (RunGoingOn()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    // The bar's buttons report here too, which lets the caption follow the pointer.
    DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
    UpdateHoverCaption(window);
    return 0;
}

static void OnPlaceBarStage(HWND window)
{
    // Before anything else: a run that an earlier process left cut off.
    RecoverUnfinishedRuns(window);
    PlaceIconBar();
    PostMessageW(window, kMsgCreateControls, 0, 0);
}

static void OnCreateControlsStage(HWND window)
{
    CreateMainControls(window);
    FillDateTimeLists();
    ShowRememberedTime();
    g_controlsReady = 1;
    OnMainControlsCreated(window);
    NameControlsByLabels(window);
    PostMessageW(window, kMsgCreateList, 0, 0);
}

void CloseApplication(HWND window)
{
    ReleaseProgramResources();
    DestroyListContainer(window);
    PostQuitMessage(0);
}

CommandHandlerPointer FindCommandHandler(WPARAM wParam)
{
    int id = LOWORD(wParam);
    int notification = HIWORD(wParam);
    if (id < g_program.firstCommandId || id > g_program.lastCommandId) return nullptr;
    for (int i = 0; i < g_program.commandCount; ++i) {
        const CommandEntry &entry = g_program.commands[i];
        if (entry.id != id) continue;
        if (entry.notification != kAnyNotification && entry.notification != notification)
            return nullptr;
        return entry.run;
    }
    return nullptr;
}

static void OnMainCommand(HWND window, WPARAM wParam)
{
    if (CommandHandlerPointer run = FindCommandHandler(wParam)) run(window, wParam);
}

// The window menu: Undo, which itself refuses while a run or a dialog is open.
static LRESULT OnMainSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) != kUndoCommand) return DefWindowProcW(window, WM_SYSCOMMAND, wParam, lParam);
    UndoLastChange(window);
    return 0;
}

// The window menu as it opens: Undo is greyed while a run goes on and when
// there is nothing to undo.
static void OnMainInitMenu(HWND window, LPARAM lParam)
{
    if (!HIWORD(lParam)) return;
    const bool canUndo = !RunGoingOn() && ChooseUndo().status != UndoChoice::Nothing;
    EnableMenuItem(GetSystemMenu(window, FALSE), kUndoCommand,
                   MF_BYCOMMAND | (canUndo ? MF_ENABLED : MF_GRAYED));
}

// The close box during a run asks whether to stop it; the window stays.
static LRESULT OnMainClose(HWND window)
{
    if (RunGoingOn()) {
        AskToStopRun(window);
        return 0;
    }
    return DefWindowProcW(window, WM_CLOSE, 0, 0);
}

// The focus stays with the control a keyboard user left, across message
// boxes, dialogs and other programs.
static LRESULT OnMainActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) RememberFocus(window);
    return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

static void OnMainDestroy(HWND window)
{
    CloseApplication(window);
    g_controlsReady = 0;
    g_hMainWnd = nullptr;
}

// ---------------------------------------------------------------- display scale

// Every control that exists so far, at g_dpi, in the client area as it is.
static void LayOutChildren(HWND window)
{
    ReadBarGeometry();
    PlaceIconBar();
    LayOutIconBarButtons();
    for (int list = 0; list < kTimeFieldCount; ++list) {
        if (!g_dateTimeLists[list]) continue;
        const RECT place = DateTimeListPlace(list);
        SetWindowPos(g_dateTimeLists[list], nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // The rows were measured once, at creation: the face and the entries anew.
        SendMessageW(g_dateTimeLists[list], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scale(14));
        SendMessageW(g_dateTimeLists[list], CB_SETITEMHEIGHT, 0, Scale(14));
    }
    if (g_hIncludeBox) {
        const RECT place = IncludeBoxPlace();
        SetWindowPos(g_hIncludeBox, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HWND container = FindListContainer(window)) {
        RECT client = {};
        GetClientRect(window, &client);
        const int top = Scale(g_program.containerTop);
        const int height = client.bottom > top ? client.bottom - top : 0;
        SetWindowPos(container, nullptr, 0, top, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (HWND list = ProgramListView())
            SetWindowPos(list, nullptr, 0, 1, client.right, height > 1 ? height - 1 : 0,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOutProgramControls(window);
    // The labels are painted in the font of the new scale.
    InvalidateRect(window, nullptr, TRUE);
}


// The window went to a monitor of another scale: it takes the place the
// system suggests (the same size there, in that monitor's pixels) and
// everything in it is laid out for the new DPI.
static void OnMainDpiChanged(HWND window, WPARAM wParam, const RECT &suggested)
{
    RemoveHoverCaption(window);
    const int dpi = LOWORD(wParam);
    g_dpi = dpi > kBaseDpi ? dpi : kBaseDpi;
    g_mainWidth = suggested.right - suggested.left;
    g_mainHeight = suggested.bottom - suggested.top;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, g_mainWidth, g_mainHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutChildren(window);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnMainCreate(window); return 0;
    case WM_PAINT: OnMainPaint(window); return 0;
    case WM_SETCURSOR: return OnMainSetCursor(window, wParam, lParam);
    case WM_DRAWITEM: DrawDateTimeItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam)); return 0;
    case WM_MEASUREITEM: MeasureDateTimeItem(*reinterpret_cast<MEASUREITEMSTRUCT *>(lParam)); return 0;
    case WM_COMMAND: OnMainCommand(window, wParam); return 0;
    case WM_SYSCOMMAND: return OnMainSysCommand(window, wParam, lParam);
    case WM_INITMENUPOPUP:
        OnMainInitMenu(window, lParam);
        return 0;
    case WM_CLOSE: return OnMainClose(window);
    case WM_ACTIVATE: return OnMainActivate(window, wParam, lParam);
    case WM_SETFOCUS: RestoreFocus(window); return 0;
    case WM_QUERYENDSESSION: return AllowSessionEnd(window) ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wParam) OnSessionEnding(window);
        return 0;
    case WM_DPICHANGED: OnMainDpiChanged(window, wParam, *reinterpret_cast<const RECT *>(lParam)); return 0;
    case WM_DESTROY: OnMainDestroy(window); return 0;
    case kMsgQuitInstance: PostQuitMessage(0); return 0;
    case kMsgPlaceBar: OnPlaceBarStage(window); return 0;
    case kMsgCreateControls: OnCreateControlsStage(window); return 0;
    case kMsgCreateList: CreateProgramList(window); return 0;
    case kMsgListReady: OnListStage(window); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
