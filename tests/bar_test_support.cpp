#include "bar_test_support.h"

#include <cstring>

#include "gui_test_support.h"
#include "icon_bar.h"

namespace {
WNDPROC g_recordedProc = nullptr;
int g_firstCommand = 0, g_lastCommand = 0;
std::vector<int> g_commands;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam == 0) {
        const int id = LOWORD(wParam);
        g_commands.push_back(id);
        if (id >= g_firstCommand && id <= g_lastCommand) return 0;
    }
    return CallWindowProcA(g_recordedProc, window, message, wParam, lParam);
}

struct NotepadSearch {
    const char *fileName;
    HWND found;
};

BOOL CALLBACK MatchNotepad(HWND window, LPARAM param)
{
    auto *search = reinterpret_cast<NotepadSearch *>(param);
    char cls[64] = {}, title[512] = {};
    GetClassNameA(window, cls, sizeof cls - 1);
    GetWindowTextA(window, title, sizeof title - 1);
    char name[MAX_PATH] = {};
    lstrcpynA(name, search->fileName, sizeof name);
    CharUpperA(title);
    CharUpperA(name);
    if (lstrcmpiA(cls, "Notepad") == 0 && std::strstr(title, name)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

void Activate(HWND window)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
    DrainMessages();
}

void HoverAt(HWND mainWindow, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(mainWindow, &p);
    SetCursorPos(p.x, p.y);
    UpdateHoverCaption(mainWindow);
}

PixelSnapshot SnapshotWindowPixels(HWND window, const RECT &area)
{
    PixelSnapshot shot;
    shot.area = area;
    HDC dc = GetWindowDC(window);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) shot.pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return shot;
}

int CountDifferences(const PixelSnapshot &a, const PixelSnapshot &b)
{
    if (a.pixels.size() != b.pixels.size()) return -1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (a.pixels[i] != b.pixels[i]) ++count;
    return count;
}

CommandRecorder::CommandRecorder(HWND mainWindow, int firstCommand, int lastCommand)
{
    g_firstCommand = firstCommand;
    g_lastCommand = lastCommand;
    g_commands.clear();
    g_recordedProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    window_ = mainWindow;
}

CommandRecorder::~CommandRecorder()
{
    if (IsWindow(window_))
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_recordedProc));
    g_commands.clear();
}

const std::vector<int> &CommandRecorder::Commands() const { return g_commands; }

void CommandRecorder::Clear() { g_commands.clear(); }

HWND FindNotepadFor(const char *fileName)
{
    NotepadSearch search{fileName, nullptr};
    EnumWindows(MatchNotepad, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForNotepadFor(const char *fileName, DWORD timeoutMs)
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindNotepadFor(fileName)) != nullptr; }, timeoutMs);
    return found;
}

void CloseNotepad(HWND notepad)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(notepad, &processId);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char *slash = std::strrchr(path, '\\');
    if (slash) *slash = 0;
    return path;
}
