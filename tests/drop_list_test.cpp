#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "drop_list.h"
#include "drop_path_table.h"
#include "drop_timestamp_run.h"
#include "main_window.h"
#include "timestamp_command.h"
#include "date_time_selector.h"
#include "drop_test_support.h"
#include "fixture_trees.h"
#include "temp_tree.h"
#include "explorer_command.h"
#include "gui_test_support.h"
#include "language.h"
#include "modal_answerer.h"
#include "journal.h"
#include "path_text.h"
#include "run_feedback.h"
#include "icon_bar.h"
#include "volume_checks.h"
#include "platform_seams.h"
#include "simulated_clock.h"
#include "test_support.h"

namespace {

std::string Text(int row, int column)
{
    std::wstring text(4096, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = 4096;
    const LRESULT length =
        SendMessageW(g_hDropListView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return U(text);
}

int Rows()
{
    return static_cast<int>(SendMessageW(g_hDropListView, LVM_GETITEMCOUNT, 0, 0));
}

void Select(int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(g_hDropListView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::string RowPath(int row) { return U(ReadDropRowPath(row)); }

// The same item: same volume serial and file index.
bool SameItem(const std::string &a, const std::string &b)
{
    auto identify = [](const std::string &path, BY_HANDLE_FILE_INFORMATION *info) {
        HANDLE h = CreateFileW(SystemPath(W(path)).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        bool ok = GetFileInformationByHandle(h, info) != FALSE;
        CloseHandle(h);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION x = {}, y = {};
    return identify(a, &x) && identify(b, &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

struct LanguageGuard {
    explicit LanguageGuard(int mode) : saved(g_japaneseMode) { g_japaneseMode = mode; }
    ~LanguageGuard() { g_japaneseMode = saved; }
    int saved;
};

// The six date-time lists' entries: year - 1980, month - 1, day - 1, hour, minute, second.
std::vector<int> ShownEntries()
{
    std::vector<int> entries;
    for (int i = 0; i < kTimeFieldCount; ++i) entries.push_back(SelectedEntry(i));
    return entries;
}

std::vector<int> EntriesOf(const TimeFields &fields)
{
    DateTime t = ReadTimeFields(fields);
    return {t.year - 1980, t.month - 1, t.day - 1, t.hour, t.minute, t.second};
}

class DropListTest : public ::testing::Test {
protected:
    void SetUp() override { Start(0); }
    void Start(int languageMode)
    {
        main_ = CreateStartedMainWindow(languageMode);
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(PumpUntil([] { return g_hDropListView != nullptr; }));
        ASSERT_EQ(g_dropListHasItems, 0);
    }
    void TearDown() override { DestroyMainWindow(main_); }

    static void DropHandle(HGLOBAL drop)
    {
        SendMessageA(g_hDropListContainer, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    }
    static void Drop(const std::vector<std::string> &paths) { DropHandle(MakeDropHandle(paths)); }

    HWND main_ = nullptr;
};

TEST_F(DropListTest, ContainerAcceptsFilesAndListHasFiveColumnsInBothLanguages)
{
    EXPECT_TRUE(GetWindowLongA(g_hDropListContainer, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    char className[64] = {};
    GetClassNameA(g_hDropListContainer, className, sizeof className);
    EXPECT_STREQ(className, "KLOKAN_98_Sub");
    RECT placed = {};
    GetWindowRect(g_hDropListContainer, &placed);
    POINT topLeft = {placed.left, placed.top};
    ScreenToClient(main_, &topLeft);
    EXPECT_EQ(topLeft.y, 90);

    RECT client = {};
    GetClientRect(g_hDropListContainer, &client);
    HWND header = reinterpret_cast<HWND>(SendMessageA(g_hDropListView, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 5);
    const char *english[] = {"Name", "Path", "Size (B)", "Type", "Modified"};
    const int widths[] = {130, 155, 80, 65, static_cast<int>(client.right) - 430};
    for (int i = 0; i < 5; ++i) {
        char title[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(g_hDropListView, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, english[i]);
        EXPECT_EQ(column.cx, widths[i]) << i;
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, i == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT) << i;
    }

    // The same window started in Japanese mode.
    DestroyMainWindow(main_);
    Start(1);
    const char *japaneseTitles[] = {"名前", "ﾊﾟｽ", "ｻｲｽﾞ (B)", "種類", "更新日時"};
    for (int i = 0; i < 5; ++i) {
        wchar_t title[64] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = 64;
        SendMessageW(g_hDropListView, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(U(title), japaneseTitles[i]) << i;
    }
}

WNDPROC g_listViewProc = nullptr;
LRESULT g_imagesAtListEnd = -1;

// Asks the list view, as it goes, which image list it still holds: one it
// held would be destroyed by it as well.
LRESULT CALLBACK WatchListEnd(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        g_imagesAtListEnd = CallWindowProcA(g_listViewProc, list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    return CallWindowProcA(g_listViewProc, list, message, wParam, lParam);
}

TEST_F(DropListTest, TheImageListIsDestroyedOnceWhenTheWindowGoes)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    Drop({self});
    ASSERT_EQ(SendMessageA(g_hDropListView, LVM_GETITEMCOUNT, 0, 0), 1);
    g_listViewProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        g_hDropListView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchListEnd)));
    DestroyMainWindow(main_);
    main_ = nullptr;
    EXPECT_EQ(g_imagesAtListEnd, 0);
}

TEST_F(DropListTest, RowsOfAFileAFolderAndAnItemAtADriveRoot)
{
    LanguageGuard english(0);
    DropTestFolder temp("rows");
    std::string file = temp.File("a.txt", "12345");
    ASSERT_TRUE(StampItem(file, UtcOfLocal(2010, 5, 6, 12, 34, 31)));
    std::string folder = temp.Folder("Data");
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);  // an item at the root of C:, only read

    const auto shownBefore = ShownEntries();
    DropHandle(MakeDropHandleWide({W(file), W(folder), W(windows)}));
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(g_dropListCount, 3);
    EXPECT_EQ(g_dropListHasItems, 1);

    EXPECT_EQ(Text(0, kColName), "a.txt");
    EXPECT_EQ(Text(0, kColPath), temp.Path());
    EXPECT_EQ(Text(0, kColSize), "         5");
    EXPECT_EQ(Text(0, kColType), "");
    EXPECT_EQ(Text(0, kColModified), "05/06/2010  12:34:31");
    EXPECT_EQ(RowPath(0), file);

    EXPECT_EQ(Text(1, kColName), "Data");
    EXPECT_EQ(Text(1, kColSize), "");
    EXPECT_EQ(Text(1, kColType), "<Folder>");
    EXPECT_FALSE(Text(1, kColModified).empty());

    EXPECT_EQ(Text(2, kColPath), std::string(windows, 3));  // "C:\" with its backslash
    EXPECT_TRUE(SameItem(RowPath(2), windows));

    // Every row has its own image.
    EXPECT_EQ(ImageList_GetImageCount(g_hDropListImages), 3);
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 2;
    SendMessageA(g_hDropListView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 2);
    // Adding rows shows no time: the lists stay as the user left them.
    EXPECT_EQ(ShownEntries(), shownBefore);
}

TEST_F(DropListTest, TheSameFileTwiceGivesTwoRowsAndMissingPathsNone)
{
    DropTestFolder temp("twice");
    std::string file = temp.File("twice.txt");
    ModalAnswerer answerer({IDOK});
    Drop({file, temp.Path() + "\\missing.txt", file, "C:\\", "relative.txt", temp.Path() + "\\w?ld*.txt"});
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Text(0, kColName), Text(1, kColName));
    EXPECT_EQ(RowPath(0), RowPath(1));
    // Each item left out is named after the drop, with its reason.
    ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
    const std::string &text = answerer.Seen()[0].text;
    EXPECT_EQ(FirstLine(text), "These dropped items could not be added to the list:");
    for (const std::string &line : {temp.Path() + "\\missing.txt  (no longer there)",
                                    std::string("relative.txt  (a name the system cannot open)"),
                                    temp.Path() + "\\w?ld*.txt  (a name the system cannot open)"})
        EXPECT_NE(text.find("\n   " + line), std::string::npos) << line << " in " << text;
}

TEST_F(DropListTest, ADropThatAddsNothingLeavesTheListsAndEnablesTheButtons)
{
    DropTestFolder temp("nothing");
    ChooseEntry(main_, kYear, 3);
    ChooseEntry(main_, kSecond, 7);
    const auto shownBefore = ShownEntries();
    ModalAnswerer answerer({IDOK});
    Drop({temp.Path() + "\\missing.txt"});
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(g_dropListHasItems, 1);
    EXPECT_EQ(ShownEntries(), shownBefore);
}

// Every dropped name exactly as the shell gives it, whatever the code page:
// names no code page spells, a look-alike pair, a name ending in a dot beside
// the same name without it, and a path of more than 300 characters.
TEST_F(DropListTest, EveryDroppedNameIsShownAndReachedAsItIs)
{
    DropTestFolder temp("exact");
    std::string deep;
    for (int level = 0; level < 5; ++level) {
        deep += (level ? "\\" : "") + std::string(60, static_cast<char>('a' + level));
        temp.Folder(deep);
    }
    // Each file holds its own name, so its size tells the row is its own.
    std::vector<std::string> dropped;
    for (const std::string &name : {std::string("\xE6\x97\xA5\xE6\x9C\xAC.txt"), std::string("\xC4\x81.txt"),
                                    std::string("report."), std::string("\xF0\x9F\x8E\x89.jpg"), deep + "\\deep.txt"})
        dropped.push_back(temp.File(name, U(NameOf(W(name)))));
    ASSERT_GT(dropped.back().size(), 300u);
    temp.File("a.txt", "look-alike");
    temp.File("report", "the name without the dot");
    Drop(dropped);
    ASSERT_EQ(Rows(), static_cast<int>(dropped.size()));
    for (int row = 0; row < Rows(); ++row) {
        const std::string &path = dropped[static_cast<std::size_t>(row)];
        const std::string name = U(NameOf(W(path)));
        EXPECT_EQ(RowPath(row), path);
        EXPECT_EQ(Text(row, kColName), name);
        const std::string size = std::to_string(name.size());
        EXPECT_EQ(Text(row, kColSize), std::string(10 - size.size(), ' ') + size) << path;
    }
}

TEST_F(DropListTest, AtMost2000RowsInTheDropsOrder)
{
    DropTestFolder temp("many");
    std::vector<std::string> paths;
    for (int i = 0; i < 2500; ++i) {
        char name[32];
        wsprintfA(name, "f%04d.txt", i);
        paths.push_back(temp.File(name));
    }
    ModalAnswerer answerer({IDOK});
    Drop(paths);
    ASSERT_EQ(Rows(), 2000);
    EXPECT_EQ(Text(0, kColName), "f0000.txt");
    EXPECT_EQ(Text(1999, kColName), "f1999.txt");
    EXPECT_EQ(ImageList_GetImageCount(g_hDropListImages), 2000);
    Drop({paths[2400]});
    EXPECT_EQ(Rows(), 2000);
    EXPECT_EQ(g_dropListCount, 2000);
    // Neither drop leaves out an item without saying how many.
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_NE(answerer.Seen()[0].text.find("500 more item(s) were left out"), std::string::npos);
    EXPECT_NE(answerer.Seen()[1].text.find("1 more item(s) were left out"), std::string::npos);
}

class DeleteTest : public DropListTest {
protected:
    void SetUp() override
    {
        DropListTest::SetUp();
        a_ = temp_.File("a.txt");
        b_ = temp_.File("b.txt");
        c_ = temp_.File("c.txt");
        // Times of their own, far from the time the lists start with.
        SetItemTime(a_, 2001, 1, 1, 1, 1, 2);
        SetItemTime(b_, 2002, 2, 2, 2, 2, 4);
        SetItemTime(c_, 2003, 3, 3, 3, 3, 6);
        Drop({a_, b_, c_});
        ASSERT_EQ(Rows(), 3);
    }
    DropTestFolder temp_{"delete"};
    std::string a_, b_, c_;
};

TEST_F(DeleteTest, SelectedRowsGoAfterYesAndStayAfterNo)
{
    Select(0);
    Select(2);
    {
        ModalAnswerer answer({IDNO});
        DeleteSelectedItems(main_);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].caption, "Question");
        EXPECT_EQ(answer.Seen()[0].text, "Do you delete selected item(s)?");
    }
    DrainMessages();
    EXPECT_EQ(Rows(), 3);
    {
        ModalAnswerer answer({IDYES});
        DeleteSelectedItems(main_);
        EXPECT_EQ(answer.Seen().size(), 1u);
    }
    EXPECT_EQ(Rows(), 3) << "the list changes on the posted message";
    DrainMessages();
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(RowPath(0), b_);
    // Row 0's time is shown.
    EXPECT_EQ(ShownEntries(), (std::vector<int>{2002 - 1980, 1, 1, 2, 2, 4}));
    EXPECT_EQ(g_dropListHasItems, 1);
}

TEST_F(DeleteTest, NothingSelectedDropsOnlyVanishedItems)
{
    DeleteFileA(a_.c_str());
    ModalAnswerer answer({IDYES});
    DeleteSelectedItems(main_);
    DrainMessages();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(RowPath(0), b_);
    EXPECT_EQ(RowPath(1), c_);
    EXPECT_EQ(ShownEntries(), (std::vector<int>{2002 - 1980, 1, 1, 2, 2, 4}));
}

TEST_F(DeleteTest, OneOfTwoIdenticalRowsIsKept)
{
    Drop({b_});
    ASSERT_EQ(Rows(), 4);
    Select(1);
    ModalAnswerer answer({IDYES});
    DeleteSelectedItems(main_);
    DrainMessages();
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(RowPath(0), a_);
    EXPECT_EQ(RowPath(1), c_);
    EXPECT_EQ(RowPath(2), b_);
}

TEST_F(DeleteTest, DeletingEveryRowEmptiesTheListAndShowsTheRememberedTime)
{
    for (int i = 0; i < 3; ++i) Select(i);
    ChooseEntry(main_, kYear, 3);
    ASSERT_NE(ShownEntries(), EntriesOf(g_rememberedTime));
    ModalAnswerer answer({IDYES});
    DeleteSelectedItems(main_);
    DrainMessages();
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(g_dropListHasItems, 0);
    EXPECT_EQ(g_dropListCount, 0);
    EXPECT_EQ(ShownEntries(), EntriesOf(g_rememberedTime));
    EXPECT_EQ(ImageList_GetImageCount(g_hDropListImages), 0);
    // A further delete on the empty list asks nothing.
    DeleteSelectedItems(main_);
    DeleteAllItems(main_);
    EXPECT_EQ(answer.Seen().size(), 1u);
}

TEST_F(DeleteTest, RowsDroppedBeforeTheRebuildAreKeptAndARepeatedRebuildDoesNothing)
{
    Select(0);
    {
        ModalAnswerer answer({IDYES});
        DeleteSelectedItems(main_);
    }
    // A drop handled before the posted rebuild.
    std::string d = temp_.File("d.txt");
    Drop({d});
    DrainMessages();
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(RowPath(0), b_);
    EXPECT_EQ(RowPath(2), d);
    RebuildDropList();
    EXPECT_EQ(Rows(), 3);
}

TEST_F(DeleteTest, DeleteAllAsksAndEmptiesTheListInBothLanguages)
{
    {
        LanguageGuard japanese(1);
        ModalAnswerer answer({IDNO});
        DeleteAllItems(main_);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].caption, "質問");
        EXPECT_EQ(answer.Seen()[0].text, "全アイテムを削除しますか？");
    }
    EXPECT_EQ(Rows(), 3);
    ChooseEntry(main_, kYear, 3);
    ASSERT_NE(ShownEntries(), EntriesOf(g_rememberedTime));
    ModalAnswerer answer({IDYES});
    DeleteAllItems(main_);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Do you delete all items?");
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(g_dropListHasItems, 0);
    EXPECT_EQ(ShownEntries(), EntriesOf(g_rememberedTime));
    // A new drop starts again at row 0.
    Drop({a_});
    EXPECT_EQ(g_dropListCount, 1);
}

// ------------------------------------------------------------------ Explorer

std::vector<DWORD> ExplorerProcesses()
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (!lstrcmpiA(entry.szExeFile, "explorer.exe")) ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

TEST_F(DropListTest, ARunningExplorerWindowIsRestoredNotStartedAgain)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ExploreWClass";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND explorer = CreateWindowExA(0, "ExploreWClass", "files", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                    200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(explorer, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(explorer));
    const auto before = ExplorerProcesses();
    ExecuteExplorer(main_);
    EXPECT_FALSE(IsIconic(explorer));
    EXPECT_EQ(ExplorerProcesses(), before);
    DestroyWindow(explorer);
    UnregisterClassA("ExploreWClass", GetModuleHandleA(nullptr));
}

TEST_F(DropListTest, WithoutAnExplorerWindowExplorerIsStarted)
{
    ASSERT_EQ(FindWindowExA(nullptr, nullptr, "ExploreWClass", nullptr), nullptr);
    const auto before = ExplorerProcesses();
    ModalAnswerer answer({IDOK});
    ExecuteExplorer(main_);
    EXPECT_TRUE(answer.Seen().empty()) << answer.Describe();
    std::vector<DWORD> started;
    PumpUntil([&] {
        started.clear();
        for (DWORD id : ExplorerProcesses())
            if (std::find(before.begin(), before.end(), id) == before.end()) started.push_back(id);
        return !started.empty();
    });
    EXPECT_FALSE(started.empty());
    for (DWORD id : started) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

}  // namespace

// ------------------------------------------------------------------ the run

namespace {

FILETIME LastWrite(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(SystemPath(W(path)).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameFileTime(const FILETIME &a, const FILETIME &b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class RunTest : public DropListTest {
protected:
    void SetUp() override
    {
        DropListTest::SetUp();
        good_ = temp_.File("good.txt");
        SetItemTime(good_, 2001, 1, 1, 1, 1, 2);
        // The target time: 2005-06-07 08:09:10.
        SYSTEMTIME target = {};
        target.wYear = 2005;
        target.wMonth = 6;
        target.wDay = 7;
        target.wHour = 8;
        target.wMinute = 9;
        target.wSecond = 10;
        ShowTimeInLists(target);
        FILETIME local;
        SystemTimeToFileTime(&target, &local);
        LocalFileTimeToFileTime(&local, &targetUtc_);
    }
    // Runs the command, answering Yes and then OK; gives the boxes seen.
    std::vector<SeenBox> Run()
    {
        ModalAnswerer answer({IDYES, IDOK});
        TimestampChangeCommand(main_);
        return answer.Seen();
    }
    DropTestFolder temp_{"run"};
    std::string good_;
    FILETIME targetUtc_ = {};
};

TEST_F(RunTest, EveryRowIsChangedAndTheListRefreshedOnFullSuccess)
{
    std::string folder = temp_.Folder("sub");
    Drop({good_, folder});
    const std::string before = Text(0, kColModified);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Confirmation");
    EXPECT_EQ(seen[0].text, "Do you execute the timestamp change?\n  To : 06/07/2005  08:09:10");
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    EXPECT_TRUE(SameFileTime(LastWrite(good_), targetUtc_));
    EXPECT_TRUE(SameFileTime(LastWrite(folder), targetUtc_));
    EXPECT_EQ(Text(0, kColModified), "06/07/2005  08:09:10");
    EXPECT_NE(Text(0, kColModified), before);
}

bool ReportsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

TEST_F(RunTest, EveryFolderWhoseEntriesStayedBehindIsNamedAndALaterMissingRowHidesNone)
{
    std::vector<std::string> folders;
    for (const char *name : {"album", "books"}) {
        folders.push_back(temp_.Folder(name));
        temp_.File(std::string(name) + "\\inside.txt", name);
    }
    SeamGuard seams;
    UseSimulatedClock();
    g_platform.volumeFileSystem = ReportsFat;
    IntGuard kind(g_windowsKind);
    g_windowsKind = 1;
    // Neither folder can be made again and each name is taken meanwhile: what
    // they held stays in temporary folders, and the last row is gone.
    g_simulatedClock.failCreate = true;
    g_simulatedClock.duringCreate = [](const char *path) {
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    };
    Drop({folders[0], folders[1], good_});
    DeleteFileA(good_.c_str());
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    const std::string text = seen[1].text;
    EXPECT_EQ(text.find("Modification of timestamp failed."), 0u) << text;
    // Each folder with the temporary folder that holds its entries.
    EXPECT_NE(text.find(folders[0] + "\nSome of its contents are in the folder\n   " +
                        temp_.Path() + "\\!!!\n"),
              std::string::npos)
        << text;
    const std::string last = folders[1] + "\nSome of its contents are in the folder\n   " +
                             temp_.Path() + "\\!!!!";
    EXPECT_NE(text.find(last), std::string::npos) << text;
    // The closing list names both folders with where their entries wait,
    // and the row that went missing meanwhile.
    for (const std::string &line :
         {folders[0] + "  (the folder could not be rebuilt; its entries are in " + temp_.Path() + "\\!!!)",
          folders[1] + "  (the folder could not be rebuilt; its entries are in " + temp_.Path() + "\\!!!!)",
          good_ + "  (no longer there)"})
        EXPECT_NE(text.find("\n   " + line), std::string::npos) << line << " in " << text;
    for (const char *temporary : {"\\!!!", "\\!!!!"})
        EXPECT_EQ(GetFileAttributesA((temp_.Path() + temporary + "\\inside.txt").c_str()) &
                      FILE_ATTRIBUTE_DIRECTORY,
                  0u);
}

TEST_F(RunTest, LinksDroppedOrMetInsideADroppedFolderNeverChangeWhatTheyLeadTo)
{
    const std::vector<std::string> outside = {FixtureTree("links/outside/victim.txt"),
                                              FixtureTree("links/outside/dir"),
                                              FixtureTree("links/outside/dir/deep.txt")};
    for (const std::string &item : outside) SetItemTime(item, 2001, 2, 3, 4, 5, 6);
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({FixtureTree("links/chosen")});
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    EXPECT_TRUE(SameFileTime(LastWrite(FixtureTree("links/chosen/sub/inner.txt")), targetUtc_));

    // A dropped link: its own times cannot be had here, which is a failure.
    for (const char *link : {"links/file-link.txt", "links/dir-link"}) {
        ClearDropList();
        Drop({FixtureTree(link)});
        seen = Run();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(FirstLine(seen[1].text), "Modification of timestamp failed.") << link;
        EXPECT_NE(seen[1].text.find("  (a link, left alone"), std::string::npos) << seen[1].text;
    }
    for (const std::string &item : outside)
        EXPECT_FALSE(SameFileTime(LastWrite(item), targetUtc_)) << item;
}

TEST_F(RunTest, AFolderRowAtTheFirstSecondOf1980IsRefusedWithEverythingInIt)
{
    const std::string album = temp_.Folder("album");
    const std::string photo = temp_.File("album\\photo.jpg", "jpeg bytes");
    SetItemTime(photo, 2001, 1, 1, 1, 1, 2);
    SeamGuard seams;
    UseSimulatedClock();
    g_platform.volumeFileSystem = ReportsFat;
    IntGuard kind(g_windowsKind), include(g_includeSubfolders);
    g_windowsKind = 1;
    g_includeSubfolders = 1;
    SYSTEMTIME first1980 = {};
    first1980.wYear = 1980;
    first1980.wMonth = 1;
    first1980.wDay = 1;
    ShowTimeInLists(first1980);
    Drop({album, good_});
    const FILETIME photoBefore = LastWrite(photo);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text.rfind("Modification of timestamp failed.\nUnable to change the timestamp to "
                                 "1980/1/1 00:00:00 for the directory.\n1 item(s) changed.\nNot changed:\n   " +
                                     album + "  (the volume cannot take the change)",
                                 0),
              0u)
        << seen[1].text;
    EXPECT_TRUE(SameFileTime(LastWrite(photo), photoBefore));
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
    // The file row still got the time.
    EXPECT_TRUE(SameFileTime(LastWrite(good_), UtcOfLocal(1980, 1, 1, 0, 0, 0)));
}

TEST_F(RunTest, OnAVolumeThatIsNotNtfsFoldersAreRebuiltWithEverythingInThem)
{
    std::string album = temp_.Folder("album");
    std::string inner = temp_.Folder("album\\inner");
    std::string photo = temp_.File("album\\inner\\photo.jpg", "jpeg bytes");
    SeamGuard seams;
    UseSimulatedClock();
    g_platform.volumeFileSystem = ReportsFat;
    IntGuard kind(g_windowsKind), include(g_includeSubfolders);
    g_windowsKind = 6;  // a FAT volume under Windows Vista or later: folders are rebuilt
    g_includeSubfolders = 1;
    Drop({album, good_});
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    // Both folders were made again under the set clock, the inner one first.
    ASSERT_EQ(g_simulatedClock.created.size(), 2u);
    EXPECT_EQ(g_simulatedClock.created[0], inner);
    EXPECT_EQ(g_simulatedClock.created[1], album);
    EXPECT_EQ(g_simulatedClock.setValues.size(), 4u) << "set and put back, once per folder";
    // Nothing lost, nothing left beside them.
    EXPECT_EQ(GetFileAttributesA(photo.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(GetFileAttributesA((temp_.Path() + "\\!!!").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(SameFileTime(LastWrite(good_), targetUtc_));
    EXPECT_TRUE(SameFileTime(LastWrite(photo), targetUtc_));
}

TEST_F(RunTest, DroppedNamesAreChangedExactlyAndTheirLookAlikesAreNot)
{
    // Each dropped item beside a look-alike that an inexact name would reach.
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"\xE6\x97\xA5.txt", "?.txt"}, {"\xC4\x81.txt", "a.txt"}, {"report.", "report"}};
    std::vector<std::string> dropped;
    for (const auto &pair : pairs) {
        dropped.push_back(temp_.File(pair.first));
        if (pair.second != "?.txt") SetItemTime(temp_.File(pair.second), 2001, 1, 1, 1, 1, 2);
    }
    Drop(dropped);
    ASSERT_EQ(Rows(), 3);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    for (const auto &pair : pairs) {
        EXPECT_TRUE(SameFileTime(LastWrite(temp_.Path() + "\\" + pair.first), targetUtc_)) << pair.first;
        if (pair.second != "?.txt") {
            EXPECT_FALSE(SameFileTime(LastWrite(temp_.Path() + "\\" + pair.second), targetUtc_))
                << pair.second;
        }
    }
}

TEST_F(RunTest, ANetworkRowNamesTheDriveKindWhileALaterRowIsStillChanged)
{
    // The harness's network drive N:.
    char networkFolder[64];
    wsprintfA(networkFolder, "N:\\retempo_run_%lu", GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(networkFolder, nullptr));
    std::string networkFile = std::string(networkFolder) + "\\n.txt";
    HANDLE h = CreateFileA(networkFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    const FILETIME networkBefore = LastWrite(networkFile);

    Drop({networkFile, good_});
    ASSERT_EQ(Rows(), 2);
    const std::string shownBefore = Text(1, kColModified);
    auto seen = Run();
    const FILETIME networkAfter = LastWrite(networkFile);
    RemoveTree(W(networkFolder));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, "Error");
    EXPECT_EQ(seen[1].text.rfind("Modification of timestamp failed.\nUnable to change timestamp(s) excecpt "
                                 "file(s) in removable-disk, hard-disk, or ram-disk.\n",
                                 0),
              0u)
        << seen[1].text;
    EXPECT_NE(seen[1].text.find(networkFile + "  (the volume cannot take the change)"), std::string::npos);
    EXPECT_TRUE(SameFileTime(LastWrite(good_), targetUtc_));
    EXPECT_TRUE(SameFileTime(networkAfter, networkBefore));
    // Not a full success: the list keeps the texts of the drop.
    EXPECT_EQ(Text(1, kColModified), shownBefore);
}

// Names another system wrote, dropped themselves or met inside a dropped
// folder: each is changed (through its short name where no path holds its
// own) or named with its reason, at the drop or in the closing report.
TEST_F(RunTest, NamesAnotherSystemWroteAreChangedOrNamed)
{
    const std::string odd = FixtureTree("odd-drop");
    {
        ModalAnswerer refused({IDOK});
        Drop({odd + "\\lt<gt>.txt", odd + "\\tab\t.txt", odd + "\\space folder "});
        ASSERT_EQ(refused.Seen().size(), 1u);
        EXPECT_NE(refused.Seen()[0].text.find("tab\t.txt  (a name the system cannot open)"), std::string::npos)
            << refused.Seen()[0].text;
    }
    ASSERT_EQ(Rows(), 2);
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    ClearDropList();
    Drop({odd});
    seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    const std::string &report = seen[1].text;
    EXPECT_EQ(FirstLine(report), "Modification of timestamp failed.");
    for (const char *name : {"tab\t.txt", "back\\slash.txt"})
        EXPECT_NE(report.find(odd + "\\" + name + "  (a name the system cannot open)"), std::string::npos)
            << name << " in " << report;
    for (const auto &[key, entry] : ListTree(odd)) {
        const bool beyond = key == "tab\t.txt" || key == "back%5Cslash.txt";
        EXPECT_EQ(entry.written == ToCount(targetUtc_), !beyond) << key;
    }
}

TEST_F(RunTest, TheProgramsOwnFileCountsAsAFailureAndStaysUntouched)
{
    const std::string program = U(g_programPath);
    const FILETIME programBefore = LastWrite(program);
    // The program under another spelling of its name: only its identity tells.
    std::string otherName = program;
    for (char &c : otherName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(otherName, program);
    Drop({program, otherName, good_});
    ASSERT_EQ(Rows(), 3);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, "Information");
    // Both names of it are named, the good row is not.
    EXPECT_EQ(FirstLine(seen[1].text), "Modification of timestamp failed.");
    for (const std::string &name : {program, otherName})
        EXPECT_NE(seen[1].text.find(name + "  (the program's own file)"), std::string::npos) << seen[1].text;
    EXPECT_EQ(seen[1].text.find(good_), std::string::npos) << seen[1].text;
    EXPECT_TRUE(SameFileTime(LastWrite(program), programBefore));
    EXPECT_TRUE(SameFileTime(LastWrite(good_), targetUtc_));
}

TEST_F(RunTest, AVanishedRowIsReportedAsMissingInBothLanguages)
{
    std::string gone = temp_.File("gone.txt");
    Drop({gone, good_});
    DeleteFileA(gone.c_str());
    {
        auto seen = Run();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, "Modification of timestamp failed.\nNot existing file(s) or folder(s).\n"
                                "1 item(s) changed.\nNot changed:\n   " +
                                    gone + "  (no longer there)");
    }
    EXPECT_TRUE(SameFileTime(LastWrite(good_), targetUtc_));
    LanguageGuard japanese(1);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "確認");
    EXPECT_EQ(seen[0].text, "タイムスタンプ変更を実行しますか？\n  To : 2005/06/07  08:09:10");
    EXPECT_EQ(seen[1].caption, "エラー");
    EXPECT_EQ(seen[1].text, "タイムスタンプの変更は、失敗しました.\n存在しないファイルかフォルダーがあります.\n"
                            "1 個のアイテムを変更しました.\n変更しなかったアイテム:\n   " +
                                gone + " （存在しません）");
}

TEST_F(RunTest, AnEmptyListIsReportedAfterTheConfirmationAndAnOddSecondGetsTheFatLine)
{
    ChooseEntry(main_, kSecond, 31);
    auto seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text,
              "Do you execute the timestamp change?\n  To : 06/07/2005  08:09:31\nFor FAT, sec 31 "
              "is rounded down to 30.");
    EXPECT_EQ(seen[1].text, "No file assigned.");
}

// --------------------------------------------- one change at a time, session end

// A child holding the change lock as a program whose change runs: its window
// shows the run's progress in its title. It lets go once the event named by
// its first argument is set, and sets the second when it holds the lock.
int HoldLockChild(const std::vector<std::string> &args)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RetempoTestHolder";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Retempo [I] 1,234 / 6,145",
                                  WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ChangeTurn turn(window, TurnPurpose::Recovery);
    if (!turn.Held()) return 2;
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, W(args[0]).c_str());
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, W(args[1]).c_str());
    SetEvent(held);
    const bool released = WaitForSingleObject(release, 60000) == WAIT_OBJECT_0;
    CloseHandle(held);
    CloseHandle(release);
    return released ? 0 : 3;
}
ChildMode g_holdLockChild("hold-lock", HoldLockChild);

std::size_t JournalCount()
{
    return JournalPaths().size();
}

TEST_F(RunTest, WhileAnotherProgramChangesNothingIsChangedHereAndItsWindowIsNamed)
{
    // Something for Undo to take: a change made here first.
    Drop({good_});
    ASSERT_EQ(Run().size(), 2u);
    SetItemTime(good_, 2002, 2, 2, 2, 2, 2);
    const FILETIME before = LastWrite(good_);
    const std::size_t journals = JournalCount();

    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, (L"Local\\Retempo.Test.Release." + tag).c_str());
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (L"Local\\Retempo.Test.Held." + tag).c_str());
    HANDLE holder = StartChild("hold-lock", {U(L"Local\\Retempo.Test.Release." + tag),
                                             U(L"Local\\Retempo.Test.Held." + tag)});
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(held, 60000), WAIT_OBJECT_0);
    const std::string refusal =
        "A change is running in the other window:\n   Retempo [I] 1,234 / 6,145\nNothing was "
        "changed. Try again once it has finished.";
    std::vector<SeenBox> seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, refusal);
    {
        ModalAnswerer answerer({IDYES, IDOK});
        UndoLastChange(main_);
        ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[0].text, refusal);
    }
    {
        LanguageGuard japanese(1);
        seen = Run();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].caption, "エラー");
        EXPECT_NE(seen[1].text.find("Retempo [I] 1,234 / 6,145"), std::string::npos) << seen[1].text;
    }
    EXPECT_TRUE(SameFileTime(LastWrite(good_), before));
    EXPECT_EQ(JournalCount(), journals);

    // Once the other has finished, a change goes through here again.
    SetEvent(release);
    EXPECT_EQ(WaitForChild(holder, 30000), 0);
    CloseHandle(holder);
    seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    CloseHandle(held);
    CloseHandle(release);
}

// Sent by the pump of the next test once five items are done.
UINT g_sessionMessage = 0;
LRESULT g_sessionAnswer = -1;
bool g_journalClosedAtEnd = false;

TEST_F(RunTest, TheEndOfTheSessionStopsARunBetweenTwoItemsWithItsJournalClosed)
{
    const std::string folder = temp_.Folder("many");
    for (int i = 0; i < 30; ++i) temp_.File("many\\f" + std::to_string(i) + ".txt");
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({folder});
    g_betweenItemsEveryMs = 0;
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total > 0 && done == 5) {
            g_sessionAnswer = SendMessageW(g_hMainWnd, g_sessionMessage, TRUE, 0);
            JournalFile newest;
            g_journalClosedAtEnd = ReadJournal(JournalPaths().back(), &newest) == JournalRead::Read &&
                                   newest.closed && newest.outcome == RunOutcome::Stopped;
        }
        return BetweenRunItems(done, total);
    };
    for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        g_sessionMessage = message;
        g_journalClosedAtEnd = false;
        const std::vector<SeenBox> seen = Run();
        ASSERT_EQ(seen.size(), 2u) << message;
        EXPECT_EQ(seen[1].text, "The change was stopped.\n5 item(s) changed, 26 item(s) left as they were.");
        JournalFile newest;
        ASSERT_EQ(ReadJournal(JournalPaths().back(), &newest), JournalRead::Read);
        EXPECT_TRUE(newest.closed);
        EXPECT_EQ(newest.outcome, RunOutcome::Stopped);
        if (message == WM_QUERYENDSESSION)
            EXPECT_EQ(g_sessionAnswer, FALSE);  // not while the run goes on
        else
            EXPECT_TRUE(g_journalClosedAtEnd);  // before the window may go
    }
    g_runPump = BetweenRunItems;
    g_betweenItemsEveryMs = 50;
}

// Run under TZ=Europe/Berlin (ctest's drop_list_seasons): Undo puts back
// exactly what a run wrote in either season, on NTFS and on a volume whose
// folders are rebuilt, whichever volume the program looked at before.
TEST_F(RunTest, SeasonsUndoPutsBackExactlyWhatTheRunWroteInEitherSeason)
{
    const std::string folder = temp_.Folder("album");
    const std::string photo = temp_.File("album\\photo.jpg");
    SetItemTime(photo, 2004, 8, 2, 3, 4, 8);
    SetItemTime(folder, 2004, 1, 2, 3, 4, 6);
    IntGuard include(g_includeSubfolders), ntfs(g_ntfsVolume);
    g_includeSubfolders = 1;
    Drop({folder, good_});
    const FILETIME before[] = {LastWrite(folder), LastWrite(photo), LastWrite(good_)};
    for (bool fat : {false, true}) {
        SeamGuard seams;
        if (fat) {
            UseSimulatedClock();
            g_platform.volumeFileSystem = ReportsFat;
        }
        for (int month : {7, 1}) {
            SCOPED_TRACE((fat ? "FAT, month " : "NTFS, month ") + std::to_string(month));
            // What the last volume looked at said: not this one's rule.
            g_ntfsVolume = fat ? 1 : 0;
            SYSTEMTIME target = {};
            target.wYear = 2009;
            target.wMonth = static_cast<WORD>(month);
            target.wDay = 15;
            target.wHour = 10;
            target.wMinute = 20;
            target.wSecond = 30;
            ShowTimeInLists(target);
            std::vector<SeenBox> seen = Run();
            ASSERT_EQ(seen.size(), 2u);
            ASSERT_EQ(seen[1].text, "Modification of timestamp succeeded.");
            ASSERT_FALSE(SameFileTime(LastWrite(photo), before[1]));
            ModalAnswerer answerer({IDYES, IDOK});
            UndoLastChange(main_);
            ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
            EXPECT_EQ(answerer.Seen()[1].text, "Undo put back 3 item(s).");
            EXPECT_TRUE(SameFileTime(LastWrite(folder), before[0]));
            EXPECT_TRUE(SameFileTime(LastWrite(photo), before[1]));
            EXPECT_TRUE(SameFileTime(LastWrite(good_), before[2]));
        }
    }
}

TEST_F(RunTest, ADropWhileTheStopQuestionIsUpIsRefused)
{
    const std::string folder = temp_.Folder("many");
    for (int i = 0; i < 10; ++i) temp_.File("many\\f" + std::to_string(i) + ".txt");
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({folder});
    static std::string late;
    late = temp_.File("late.txt");
    g_betweenItemsEveryMs = 0;
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total > 0 && done == 3) PostMessageW(g_hMainWnd, WM_CLOSE, 0, 0);
        return BetweenRunItems(done, total);
    };
    std::vector<std::string> boxes;
    ModalAnswerer answerer([&](HWND dialog) {
        boxes.push_back(MessageBoxText(dialog));
        if (boxes.size() == 2) DropHandle(MakeDropHandle({late}));  // while "Do you stop...?" is up
        const int answer = boxes.size() == 1 ? IDYES : GetDlgItem(dialog, IDNO) ? IDNO : IDOK;
        SendDlgItemMessageA(dialog, answer, BM_CLICK, 0, 0);
    });
    TimestampChangeCommand(main_);
    g_runPump = BetweenRunItems;
    g_betweenItemsEveryMs = 50;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "Do you stop the change?\nItems not yet changed stay as they are.");
    EXPECT_EQ(boxes[2], "Modification of timestamp succeeded.");
    EXPECT_EQ(Rows(), 1);
}

// What the pumps of the next tests saw and did.
std::vector<std::wstring> g_titles;
bool g_barEnabledDuringRun = false;
void (*g_stopRequest)() = nullptr;

TEST_F(RunTest, AnUndoPostedWhileADialogIsOpenChangesNothingAndSaysWhy)
{
    Drop({good_});
    ASSERT_EQ(Run().size(), 2u);
    const FILETIME changed = LastWrite(good_);
    // As from the taskbar's window menu, or a script, while a box is open.
    PostMessageW(main_, WM_SYSCOMMAND, kUndoCommand, 0);
    std::vector<std::string> boxes;
    {
        // No to every question (the change's, and an undo's, were one asked).
        ModalAnswerer answerer([&](HWND dialog) {
            boxes.push_back(MessageBoxText(dialog));
            SendDlgItemMessageA(dialog, GetDlgItem(dialog, IDNO) ? IDNO : IDOK, BM_CLICK, 0, 0);
        });
        TimestampChangeCommand(main_);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "Undo last change waits until the open dialog or the running change is over. "
                        "Nothing was put back.");
    EXPECT_TRUE(SameFileTime(LastWrite(good_), changed));
}

TEST_F(RunTest, CountingAnswersEscAndLeavesNothingChangedNorJournalled)
{
    const std::string folder = temp_.Folder("many");
    for (int i = 0; i < 12; ++i) temp_.File("many\\f" + std::to_string(i) + ".txt");
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({folder});
    const FILETIME before = LastWrite(folder + "\\f0.txt");
    const std::size_t journals = JournalCount();
    g_betweenItemsEveryMs = 0;
    g_titles.clear();
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total == 0 && done == 5) PostMessageW(g_hMainWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        const bool goOn = BetweenRunItems(done, total);
        wchar_t title[128] = {};
        GetWindowTextW(g_hMainWnd, title, 128);
        g_titles.push_back(title);
        return goOn;
    };
    ModalAnswerer answerer({IDYES, IDYES, IDOK});
    TimestampChangeCommand(main_);
    g_runPump = BetweenRunItems;
    g_betweenItemsEveryMs = 50;
    ASSERT_EQ(answerer.Seen().size(), 3u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text, "Do you stop the change?\nItems not yet changed stay as they are.");
    EXPECT_EQ(answerer.Seen()[2].text, "The change was stopped while it counted its items; nothing was changed.");
    ASSERT_FALSE(g_titles.empty());
    EXPECT_EQ(U(g_titles[0]), "Retempo [II] counting 0");
    EXPECT_TRUE(SameFileTime(LastWrite(folder + "\\f0.txt"), before));
    EXPECT_EQ(JournalCount(), journals);
}

TEST_F(RunTest, ARunAsksToStopOnceForEscAltF4OrClosesAndShowsItselfBusy)
{
    const std::string folder = temp_.Folder("many");
    for (int i = 0; i < 12; ++i) temp_.File("many\\f" + std::to_string(i) + ".txt");
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({folder});
    g_betweenItemsEveryMs = 0;
    struct Case {
        const char *name;
        void (*request)();
    };
    const Case cases[] = {
        {"Esc", [] { PostMessageW(g_hMainWnd, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Alt+F4", [] { PostMessageW(g_hMainWnd, WM_SYSKEYDOWN, VK_F4, 1 << 29); }},
        {"close box", [] { PostMessageW(g_hMainWnd, WM_CLOSE, 0, 0); }},
    };
    for (const Case &c : cases) {
        g_stopRequest = c.request;
        g_barEnabledDuringRun = false;
        g_runPump = [](std::size_t done, std::size_t total) {
            if (total > 0 && done == 3) {
                g_stopRequest();
                for (const IconBarButton &button : g_iconBarButtons)
                    g_barEnabledDuringRun = g_barEnabledDuringRun || IsWindowEnabled(button.window);
            }
            return BetweenRunItems(done, total);
        };
        std::vector<std::string> boxes;
        ModalAnswerer answerer([&](HWND dialog) {
            boxes.push_back(MessageBoxText(dialog));
            if (boxes.size() == 2) {
                // A second close while the question is up asks nothing more.
                PostMessageW(g_hMainWnd, WM_CLOSE, 0, 0);
                DrainMessages();
            }
            // Yes to the change, No to stopping it: it runs to its end.
            const int answer = boxes.size() == 1 ? IDYES : GetDlgItem(dialog, IDNO) ? IDNO : IDOK;
            SendDlgItemMessageA(dialog, answer, BM_CLICK, 0, 0);
        });
        TimestampChangeCommand(main_);
        ASSERT_EQ(boxes.size(), 3u) << c.name;
        EXPECT_EQ(boxes[1], "Do you stop the change?\nItems not yet changed stay as they are.") << c.name;
        EXPECT_EQ(boxes[2], "Modification of timestamp succeeded.") << c.name;
        EXPECT_FALSE(g_barEnabledDuringRun) << c.name;
        EXPECT_TRUE(IsWindowEnabled(g_iconBarButtons[3].window)) << c.name;
        ASSERT_TRUE(IsWindow(main_));
    }
    g_runPump = BetweenRunItems;
    g_betweenItemsEveryMs = 50;
}

TEST_F(RunTest, AnEscPressedBeforeTheRunIsNoRequestToStop)
{
    Drop({good_});
    std::vector<std::string> boxes;
    ModalAnswerer answerer([&](HWND dialog) {
        boxes.push_back(MessageBoxText(dialog));
        // Pressed while the question is up: it waits in the queue for the run.
        if (boxes.size() == 1) PostMessageW(g_hMainWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        const int answer = boxes.size() == 1 ? IDYES : GetDlgItem(dialog, IDNO) ? IDNO : IDOK;
        SendDlgItemMessageA(dialog, answer, BM_CLICK, 0, 0);
    });
    TimestampChangeCommand(main_);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "Modification of timestamp succeeded.");
}

TEST_F(RunTest, LinksARunMeetsAreNeitherWrittenDownNorNamedByUndo)
{
    IntGuard include(g_includeSubfolders);
    g_includeSubfolders = 1;
    Drop({FixtureTree("links/selfloop")});
    std::vector<SeenBox> seen = Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Modification of timestamp succeeded.");
    JournalFile journal;
    ASSERT_EQ(ReadJournal(JournalPaths().back(), &journal), JournalRead::Read);
    for (const JournalEntry &entry : journal.entries)
        EXPECT_EQ(entry.path.find(L"\\loop"), std::wstring::npos) << U(entry.path);
    ModalAnswerer answerer({IDYES, IDOK});
    UndoLastChange(main_);
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    // The folder and its file; the links are nobody's business.
    EXPECT_EQ(answerer.Seen()[1].text, "Undo put back 2 item(s).");
}

TEST_F(RunTest, TheWindowMenuOffersUndoOnlyWhenThereIsSomethingToUndo)
{
    const auto undoGreyed = [this] {
        HMENU menu = GetSystemMenu(main_, FALSE);
        SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        return (GetMenuState(menu, kUndoCommand, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    for (const std::wstring &path : JournalPaths()) DeleteFileW(path.c_str());
    EXPECT_TRUE(undoGreyed());
    Drop({good_});
    ASSERT_EQ(Run().size(), 2u);
    EXPECT_FALSE(undoGreyed());
}

}  // namespace
