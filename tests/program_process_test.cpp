// The built programs as separate processes: a second start ends silently, and
// both ways of ending give exit code 0.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct Program {
    const char *file, *className, *title;
    int exitCommand;
};

const Program kPrograms[] = {
    {"klokan99.exe", "KLOKAN_99", "Retempo [I]", 115},
    {"klokan98.exe", "KLOKAN_98", "Retempo [II]", 112},
};

std::string BesideThisTest(const char *file)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

class Process {
public:
    explicit Process(const std::string &path)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + path + "\"";
        started_ = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &info_);
    }
    ~Process()
    {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    bool started() const { return started_; }
    // The exit code, or -1 when the process is still running after the wait.
    long WaitForExit(DWORD timeoutMs)
    {
        if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }
    DWORD id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// The program's titled main window once its start-up stages have run.
HWND WaitForMainWindow(const Program &program, DWORD timeoutMs = 30000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND window = FindWindowA(program.className, program.title);
        if (window && FindWindowExA(window, nullptr, "KLOKAN_98_Sub", "Tempavo_98_Sub"))
            return window;
        Sleep(50);
    }
    return nullptr;
}

class ProgramProcessTest : public ::testing::TestWithParam<Program> {};

TEST_P(ProgramProcessTest, SecondStartEndsSilentlyAndLeavesTheFirstAlone)
{
    const Program &program = GetParam();
    Process first(BesideThisTest(program.file));
    ASSERT_TRUE(first.started());
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(window, nullptr);

    Process second(BesideThisTest(program.file));
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.WaitForExit(30000), 0);

    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FindWindowA(program.className, program.title), window);
    EXPECT_EQ(first.WaitForExit(0), -1);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, first.id());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(30000), 0);
}

TEST_P(ProgramProcessTest, ASecondStartDuringARunEndsAndBringsTheFirstForward)
{
    const Program &program = GetParam();
    Process first(BesideThisTest(program.file));
    ASSERT_TRUE(first.started());
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(window, nullptr);
    // A run shows its progress in the title.
    const std::string running = std::string(program.title) + " 1,234 / 6,145";
    SetWindowTextA(window, running.c_str());
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));

    Process second(BesideThisTest(program.file));
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.WaitForExit(30000), 0);
    EXPECT_EQ(first.WaitForExit(0), -1);
    EXPECT_FALSE(IsIconic(window));
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_EQ(title, running);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(30000), 0);
}

TEST_P(ProgramProcessTest, CloseBoxEndsWithCodeZero)
{
    const Program &program = GetParam();
    Process process(BesideThisTest(program.file));
    ASSERT_TRUE(process.started());
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(process.WaitForExit(30000), 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_P(ProgramProcessTest, ExitCommandEndsWithCodeZero)
{
    const Program &program = GetParam();
    Process process(BesideThisTest(program.file));
    ASSERT_TRUE(process.started());
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, program.exitCommand, 0);
    EXPECT_EQ(process.WaitForExit(30000), 0);
}

TEST_P(ProgramProcessTest, StartsAgainOnceTheFirstHasEnded)
{
    const Program &program = GetParam();
    {
        Process process(BesideThisTest(program.file));
        HWND window = WaitForMainWindow(program);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(process.WaitForExit(30000), 0);
    }
    Process again(BesideThisTest(program.file));
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(again.WaitForExit(500), -1);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitForExit(30000), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ProgramProcessTest, ::testing::ValuesIn(kPrograms),
                         [](const ::testing::TestParamInfo<Program> &info) {
                             return std::string(info.param.file).substr(0, 8);
                         });

// Each program declares that it lays itself out for every monitor's scale,
// with the older forms for systems that do not know the newest.
TEST(ProgramManifest, DeclaresPerMonitorDpiAwarenessWithFallbacks)
{
    for (const Program &program : kPrograms) {
        SCOPED_TRACE(program.file);
        HMODULE module = LoadLibraryExA(BesideThisTest(program.file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
        ASSERT_NE(found, nullptr);
        const char *data = static_cast<const char *>(LockResource(LoadResource(module, found)));
        ASSERT_NE(data, nullptr);
        const std::string manifest(data, SizeofResource(module, found));
        FreeLibrary(module);
        EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
        EXPECT_NE(manifest.find("SMI/2016/WindowsSettings"), std::string::npos);
        EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
        EXPECT_NE(manifest.find("SMI/2005/WindowsSettings"), std::string::npos);
        EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    }
}

}  // namespace
