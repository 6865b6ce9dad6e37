// Runs cut off by the end of their process: klokan98's real window changes a
// tree of about 2,000 entries in a child process, which is killed at random
// moments, on the handle path and on the rebuild path (the simulated
// clock). Each time, a fresh process starts, finds the run and puts it back.
// The test process itself never opens a main window: one copy per program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "date_time_selector.h"
#include "drop_list.h"
#include "drop_test_support.h"
#include "gui_test_support.h"
#include "journal.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "path_text.h"
#include "run_feedback.h"
#include "simulated_clock.h"
#include "test_support.h"
#include "timestamp_command.h"
#include "undo.h"

namespace {

constexpr int kTopFolders = 20, kSubFolders = 2, kFilesEach = 48;  // 1,980 entries below the root
constexpr int kKills = 12;
constexpr WORD kTarget[6] = {2009, 7, 15, 10, 20, 30};

bool ReportsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

ULONGLONG Count(const FILETIME &t)
{
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

struct Seen {
    ULONGLONG written;
    DWORD attributes;
    bool operator==(const Seen &o) const { return written == o.written && attributes == o.attributes; }
};
std::ostream &operator<<(std::ostream &out, const Seen &s)
{
    return out << "written " << s.written << " attributes " << s.attributes;
}
// Every entry below a folder by its path relative to it.
using Tree = std::map<std::string, Seen>;

void Snapshot(const std::string &folder, const std::string &relative, Tree *tree)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(SystemPath(W(folder + "\\*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = U(found.cFileName);
        if (name == "." || name == "..") continue;
        const std::string child = relative.empty() ? name : relative + "\\" + name;
        (*tree)[child] = {Count(found.ftLastWriteTime), found.dwFileAttributes};
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Snapshot(folder + "\\" + name, child, tree);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

Tree Snapshot(const std::string &folder)
{
    Tree tree;
    Snapshot(folder, "", &tree);
    return tree;
}

// The entries that differ between two snapshots, one per line; empty when
// none does.
std::string Differences(const Tree &before, const Tree &after)
{
    std::ostringstream out;
    for (const auto &entry : before) {
        const auto now = after.find(entry.first);
        if (now == after.end())
            out << entry.first << ": gone\n";
        else if (!(now->second == entry.second))
            out << entry.first << ": " << entry.second << " -> " << now->second << "\n";
    }
    for (const auto &entry : after)
        if (!before.count(entry.first)) out << entry.first << ": new, " << entry.second << "\n";
    return out.str();
}

void MakeTree(const std::string &root)
{
    ASSERT_TRUE(CreateDirectoryW(W(root).c_str(), nullptr));
    int second = 0;
    for (int a = 0; a < kTopFolders; ++a) {
        const std::string top = root + "\\A" + std::to_string(a);
        ASSERT_TRUE(CreateDirectoryW(W(top).c_str(), nullptr));
        for (int b = 0; b < kSubFolders; ++b) {
            const std::string sub = top + "\\B" + std::to_string(b);
            ASSERT_TRUE(CreateDirectoryW(W(sub).c_str(), nullptr));
            for (int f = 0; f < kFilesEach; ++f) {
                const std::string file = sub + "\\f" + std::to_string(f) + ".txt";
                ASSERT_TRUE(MakeFile(file));
                ASSERT_TRUE(StampItem(file, UtcOfLocal(2001, 1, 1, 0, second / 60 % 60, second % 60)));
                second += 2;
            }
            ASSERT_TRUE(StampItem(sub, UtcOfLocal(2002, 2, 2, 2, b, 2 * a)));
        }
        ASSERT_TRUE(StampItem(top, UtcOfLocal(2003, 3, 3, 3, 3, 2 * a)));
    }
}

void UseRebuildPath()
{
    UseSimulatedClock();
    g_platform.volumeFileSystem = ReportsFat;
}

// A folder whose entries wait in a temporary sibling, somewhere in the tree.
bool SomethingApart(const Tree &tree)
{
    for (const auto &entry : tree) {
        const std::size_t slash = entry.first.find_last_of('\\');
        if (entry.first.compare(slash == std::string::npos ? 0 : slash + 1, 3, "!!!") == 0) return true;
    }
    return false;
}

// A child: klokan98 changes the tree under its real window, "Include
// subfolders." ticked. The named event is set just before the command.
int ChangeChild(const std::vector<std::string> &args)
{
    if (args[1] == "rebuild") {
        UseRebuildPath();
        // A rebuild lasts long enough for kills to fall inside it, while its
        // entries wait in the temporary folder.
        g_simulatedClock.duringCreate = [](const char *) { Sleep(40); };
    }
    HWND main = CreateStartedMainWindow(0);
    if (!main || !PumpUntil([] { return g_hDropListView != nullptr; })) return 3;
    SendMessageW(g_hDropListContainer, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDropHandle({args[0]})), 0);
    g_includeSubfolders = 1;
    SYSTEMTIME target = {};
    target.wYear = kTarget[0];
    target.wMonth = kTarget[1];
    target.wDay = kTarget[2];
    target.wHour = kTarget[3];
    target.wMinute = kTarget[4];
    target.wSecond = kTarget[5];
    ShowTimeInLists(target);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, W(args[2]).c_str());
    SetEvent(ready);
    CloseHandle(ready);
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(main);
    return answerer.Seen().size() == 2 &&
                   answerer.Seen()[1].text == "Modification of timestamp succeeded."
               ? 0
               : 4;
}
ChildMode g_changeChild("change", ChangeChild);

// A child that starts klokan98 and says Yes to what the start asks: the
// recovery of a run cut off. Exit code 0 when a run was recovered.
int RecoverChild(const std::vector<std::string> &args)
{
    if (args[0] == "rebuild") UseRebuildPath();
    ModalAnswerer answerer({IDYES, IDOK});
    HWND main = CreateStartedMainWindow(0);
    if (!main) return 3;
    const std::vector<SeenBox> &seen = answerer.Seen();
    return !seen.empty() && seen[0].text.find("did not finish") != std::string::npos ? 0 : 5;
}
ChildMode g_recoverChild("recover", RecoverChild);

// A child that starts klokan98 and undoes the last change.
int UndoChild(const std::vector<std::string> &args)
{
    if (args[0] == "rebuild") UseRebuildPath();
    HWND main = CreateStartedMainWindow(0);
    if (!main) return 3;
    ModalAnswerer answerer({IDYES, IDOK});
    UndoLastChange(main);
    return answerer.Seen().size() == 2 ? 0 : 6;
}
ChildMode g_undoChild("undo", UndoChild);

class KilledRun : public ::testing::TestWithParam<const char *> {
protected:
    long RunChild(const std::string &name, const std::vector<std::string> &args, DWORD timeoutMs = 120000)
    {
        HANDLE child = StartChild(name, args);
        EXPECT_NE(child, nullptr);
        if (!child) return -1;
        const long code = WaitForChild(child, timeoutMs);
        if (code == -1) TerminateProcess(child, 98);
        CloseHandle(child);
        return code;
    }

    // Every entry of the tree is as before or as the run makes it; an entry
    // of a folder a rebuild took apart may be in the folder's temporary
    // sibling, and that folder and the one holding it may be in between.
    void ExpectBeforeOrChanged(const std::string &root, const Tree &before)
    {
        const Tree now = Snapshot(root);
        std::vector<RebuildStep> open;
        for (const JournalFile &journal : UnfinishedJournals())
            open.insert(open.end(), journal.openRebuilds.begin(), journal.openRebuilds.end());
        // The dropped folder itself, rebuilt last, waits beside the tree:
        // nothing can be told of its entries until the recovery, which must
        // then give back the whole tree.
        for (const RebuildStep &step : open)
            if (U(step.folder).compare(0, root.size() + 1, root + "\\") != 0) return;
        const auto relative = [&](const std::wstring &path) { return U(path).substr(root.size() + 1); };
        for (const auto &entry : before) {
            std::string where = entry.first;
            bool inStep = false;
            for (const RebuildStep &step : open) {
                const std::string folder = relative(step.folder), temporary = relative(step.temporary);
                if (entry.first == folder) {
                    inStep = true;
                    if (!now.count(where)) where = temporary;
                } else if (folder.compare(0, entry.first.size() + 1, entry.first + "\\") == 0) {
                    inStep = true;  // a folder holding it: the renames renewed its times
                } else if (entry.first.compare(0, folder.size() + 1, folder + "\\") == 0 &&
                           !now.count(entry.first)) {
                    where = temporary + entry.first.substr(folder.size());
                }
            }
            ASSERT_EQ(now.count(where), 1u) << entry.first << " is lost";
            if (inStep) continue;
            const long long written = static_cast<long long>(now.at(where).written);
            const bool asBefore = now.at(where).written == entry.second.written;
            const bool changed = std::llabs(written - static_cast<long long>(targetUtc_)) <= 20000000;
            EXPECT_TRUE(asBefore || changed) << entry.first << ": " << now.at(where);
        }
    }

    void SetUp() override
    {
        const FILETIME target = UtcOfLocal(kTarget[0], kTarget[1], kTarget[2], kTarget[3], kTarget[4],
                                           kTarget[5]);
        targetUtc_ = Count(target);
    }

    TempFolder temp_;
    ULONGLONG targetUtc_ = 0;
};

TEST_P(KilledRun, ARunKilledAnywhereIsPutBackAtTheNextStart)
{
    const std::string mode = GetParam();
    const std::string root = temp_.Child("tree");
    MakeTree(root);
    const Tree before = Snapshot(root);
    ASSERT_EQ(before.size(), static_cast<std::size_t>(kTopFolders * (1 + kSubFolders * (1 + kFilesEach))));
    const std::wstring eventName = L"Local\\Retempo.Test.Ready." + std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
    ASSERT_NE(ready, nullptr);
    const std::vector<std::string> changeArgs = {root, mode, U(eventName)};

    // One whole run, timed from its start, and its undo.
    HANDLE child = StartChild("change", changeArgs);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
    const DWORD start = GetTickCount();
    ASSERT_EQ(WaitForChild(child, 180000), 0);
    const DWORD whole = GetTickCount() - start;
    CloseHandle(child);
    ASSERT_NE(Snapshot(root), before);
    ASSERT_EQ(RunChild("undo", {mode}), 0);
    ASSERT_EQ(Snapshot(root), before);

    int cutOff = 0, insideRebuild = 0, finished = 0;
    std::srand(static_cast<unsigned>(GetTickCount()));
    for (int kill = 0; kill < kKills; ++kill) {
        const DWORD moment = static_cast<DWORD>(std::rand()) % (whole + 1);
        SCOPED_TRACE(mode + " run killed after " + std::to_string(moment) + " of " +
                     std::to_string(whole) + " ms");
        child = StartChild("change", changeArgs);
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
        Sleep(moment);
        TerminateProcess(child, 97);
        WaitForSingleObject(child, 30000);
        CloseHandle(child);
        ExpectBeforeOrChanged(root, before);
        // Killed before its journal began, nothing happened; after its end,
        // it is undone as any other run.
        const std::vector<JournalFile> unfinished = UnfinishedJournals();
        if (!unfinished.empty()) {
            ++cutOff;
            if (SomethingApart(Snapshot(root))) ++insideRebuild;
            EXPECT_EQ(RunChild("recover", {mode}), 0);
        } else if (Snapshot(root) != before) {
            ++finished;
            ASSERT_EQ(RunChild("undo", {mode}), 0);
        }
        EXPECT_TRUE(UnfinishedJournals().empty());
        const std::string differences = Differences(before, Snapshot(root));
        EXPECT_EQ(differences, "");
        if (!differences.empty()) break;
    }
    CloseHandle(ready);
    std::printf("%s: a whole run took %lu ms; of %d kills, %d cut a run off (%d with a folder apart), "
                "%d came after its end\n",
                mode.c_str(), static_cast<unsigned long>(whole), kKills, cutOff, insideRebuild, finished);
}

INSTANTIATE_TEST_SUITE_P(BothWriters, KilledRun, ::testing::Values("handle", "rebuild"));

}  // namespace
