// The Attributes command on real trees in the test's temporary folder, with
// its dialog driven by the test.
#include "attribute_change.h"

#include "change_test_support.h"
#include "fixture_trees.h"
#include "list_refresh.h"

namespace {

constexpr int kReadOnly = 123, kHidden = 124, kSystem = 125, kArchive = 126;
constexpr int kSubfolders = 127, kFilesOnly = 128;

using AttributeChange = ChangeCommandTest;

struct DialogState {
    bool readOnly, hidden, system, archive, subfoldersUsable, filesOnlyUsable;
};

DialogState ReadDialog(HWND dialog)
{
    return {Ticked(dialog, kReadOnly),          Ticked(dialog, kHidden),
            Ticked(dialog, kSystem),            Ticked(dialog, kArchive),
            Usable(dialog, kSubfolders),        Usable(dialog, kFilesOnly)};
}

TEST_F(AttributeChange, DialogBoxesFollowTheSelectionAndTheSubfolderBox)
{
    File("a.txt");
    Folder("Sub");
    DialogState state = {};

    // Only files selected: no subfolder choice at all.
    ShowAndSelect({"a.txt"});
    EXPECT_EQ(RunWithClicks(ChangeAttributesCommand, {}, IDCANCEL,
                            [&](HWND d) { state = ReadDialog(d); }),
              1);
    EXPECT_FALSE(state.subfoldersUsable);
    EXPECT_FALSE(state.filesOnlyUsable);

    // A folder selected: 127 is usable, 128 only while 127 is ticked, and
    // unticking 127 clears 128 again.
    ShowAndSelect({"a.txt", "Sub"});
    bool afterTick = false, afterFilesOnly = false, filesOnlyUsableAfterUntick = true,
         filesOnlyTickedAfterUntick = true;
    RunWithClicks(ChangeAttributesCommand, {}, IDCANCEL, [&](HWND d) {
        state = ReadDialog(d);
        Click(d, kSubfolders);
        afterTick = Usable(d, kFilesOnly) && !Ticked(d, kFilesOnly);
        Click(d, kFilesOnly);
        afterFilesOnly = Ticked(d, kFilesOnly);
        Click(d, kSubfolders);
        filesOnlyUsableAfterUntick = Usable(d, kFilesOnly);
        filesOnlyTickedAfterUntick = Ticked(d, kFilesOnly);
    });
    EXPECT_TRUE(state.subfoldersUsable);
    EXPECT_FALSE(state.filesOnlyUsable);
    EXPECT_TRUE(afterTick);
    EXPECT_TRUE(afterFilesOnly);
    EXPECT_FALSE(filesOnlyUsableAfterUntick);
    EXPECT_FALSE(filesOnlyTickedAfterUntick);
    EXPECT_EQ(g_dialogOutcome, 0);
    EXPECT_EQ(Attributes("a.txt"), FilesAlwaysArchived() ? 0u : FILE_ATTRIBUTE_ARCHIVE)
        << "Cancel changes nothing";
}

TEST_F(AttributeChange, ChoiceComesFromTheClickedItemAndSurvivesCancel)
{
    File("flags.txt");
    SetAttributes("flags.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ShowAndSelect({"flags.txt"});
    LoadClickedItemState();

    DialogState first = {}, second = {};
    RunWithClicks(ChangeAttributesCommand, {kSystem}, IDCANCEL,
                  [&](HWND d) { first = ReadDialog(d); });
    bool archived = (GetFileAttributesA(Make("flags.txt").c_str()) & FILE_ATTRIBUTE_ARCHIVE) != 0;
    EXPECT_TRUE(first.readOnly && first.hidden);
    EXPECT_FALSE(first.system);
    EXPECT_EQ(first.archive, archived);

    RunWithClicks(ChangeAttributesCommand, {}, IDCANCEL, [&](HWND d) { second = ReadDialog(d); });
    EXPECT_TRUE(second.readOnly && second.hidden && second.system) << "the cancelled click stays";
    EXPECT_EQ(second.archive, archived);
    EXPECT_EQ(Attributes("flags.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(AttributeChange, OnlyTheSelectedFilesChangeAndTheColumnShowsIt)
{
    File("a.txt");
    File("b.txt");
    File("c.txt");
    ShowAndSelect({"a.txt", "c.txt"});
    std::vector<std::string> before = RowNames();
    g_attrReadOnly = g_attrHidden = g_attrSystem = g_attrArchive = 0;
    RunWithClicks(ChangeAttributesCommand, {kReadOnly, kSystem}, IDOK);

    EXPECT_EQ(Attributes("a.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(Attributes("c.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(Attributes("b.txt"), FilesAlwaysArchived() ? 0u : FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(RowNames(), before);
    EXPECT_EQ(RowText(FindRow("a.txt"), 4), FilesAlwaysArchived() ? "RSA" : "RS");
    EXPECT_EQ(CurrentDirectory(), temp.Path());
    EXPECT_EQ(g_refreshMode, kRefreshAttributes);
}

// Attributes are given through a handle on the item itself: a link inside a
// chosen folder, and a chosen link, leave what they lead to as it was.
TEST_F(AttributeChange, NothingALinkLeadsToGetsTheChosenAttributes)
{
    const std::string victim = FixtureTree("links/outside/victim.txt");
    const std::string outsideDir = FixtureTree("links/outside/dir");
    for (const std::string &item : {victim, outsideDir})
        ASSERT_TRUE(SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL));
    const DWORD victimBefore = GetFileAttributesA(victim.c_str());
    const DWORD dirBefore = GetFileAttributesA(outsideDir.c_str());
    ShowFolder(FixtureTree("links"));
    g_attrReadOnly = g_attrSystem = g_attrArchive = 0;
    g_attrHidden = 1;
    for (const char *row : {"chosen", "file-link.txt", "dir-link"}) {
        SelectRows({FindRow(row)});
        RunWithClicks(ChangeAttributesCommand, {kSubfolders}, IDOK);
    }
    const std::string plain = FixtureTree("links/chosen/plain.txt");
    EXPECT_NE(GetFileAttributesA(plain.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the walk ran";
    EXPECT_EQ(GetFileAttributesA(victim.c_str()), victimBefore);
    EXPECT_EQ(GetFileAttributesA(outsideDir.c_str()), dirBefore);
    // The trees serve later tests as they were made.
    for (const char *item : {"links/chosen", "links/chosen/plain.txt", "links/chosen/sub",
                             "links/chosen/sub/inner.txt"})
        SetFileAttributesA(FixtureTree(item).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// What one run learnt of a folder is not what the next finds: the same path
// that led through a link to the item now holds a link of its own to it.
TEST_F(AttributeChange, AFolderThatBecameItsOwnIsAskedAfreshInTheNextRun)
{
    const std::string victim = FixtureTree("stale/elsewhere/x.txt");
    const std::string then = FixtureTree("stale/then"), now = FixtureTree("stale/now"),
                      aside = FixtureTree("stale/aside");
    g_attrReadOnly = g_attrSystem = g_attrArchive = 0;
    g_attrHidden = 1;
    // Through a linked folder, the item itself is reached and changed.
    ShowFolder(FixtureTree("stale/then/folder"));
    SelectRows({FindRow("x.txt")});
    RunWithClicks(ChangeAttributesCommand, {}, IDOK);
    EXPECT_NE(GetFileAttributesA(victim.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the first run ran";
    ASSERT_TRUE(SetFileAttributesA(victim.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(MoveFileA(then.c_str(), aside.c_str()));
    ASSERT_TRUE(MoveFileA(now.c_str(), then.c_str()));
    // Now the row is a link chosen directly: what it leads to stays as it was.
    ShowFolder(FixtureTree("stale/then/folder"));
    SelectRows({FindRow("x.txt")});
    RunWithClicks(ChangeAttributesCommand, {}, IDOK);
    EXPECT_EQ(GetFileAttributesA(victim.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    MoveFileA(then.c_str(), now.c_str());
    MoveFileA(aside.c_str(), then.c_str());
    SetFileAttributesA(victim.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AttributeChange, IncludeSubfoldersChangesTheFolderAndEverythingBelow)
{
    Folder("Top");
    Folder("Top\\Inner");
    File("Top\\one.txt");
    File("Top\\Inner\\two.txt");
    File("Top\\.hidden-by-dot");
    File(".dotted");
    SetAttributes("Top\\.hidden-by-dot", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(".dotted", FILE_ATTRIBUTE_READONLY);
    ShowAndSelect({"Top", ".dotted"});
    g_attrReadOnly = g_attrSystem = g_attrArchive = 0;
    g_attrHidden = 1;
    RunWithClicks(ChangeAttributesCommand, {kSubfolders}, IDOK);

    for (const char *item : {"Top", "Top\\Inner", "Top\\one.txt", "Top\\Inner\\two.txt"})
        EXPECT_EQ(Attributes(item), FILE_ATTRIBUTE_HIDDEN) << item;
    // Some file systems show every dot name as hidden; read-only and system tell.
    EXPECT_EQ(Attributes("Top\\.hidden-by-dot") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM))
        << "dot names inside a walk are left alone";
    EXPECT_EQ(Attributes(".dotted"), FILE_ATTRIBUTE_HIDDEN) << "a selected dot name is changed";
    EXPECT_EQ(CurrentDirectory(), temp.Path());
}

TEST_F(AttributeChange, FilesOnlyLeavesEveryFolderAsItWas)
{
    Folder("Top");
    Folder("Top\\Inner");
    File("Top\\one.txt");
    File("Top\\Inner\\two.txt");
    SetAttributes("Top", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    SetAttributes("Top\\Inner", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    ShowAndSelect({"Top"});
    g_attrHidden = g_attrSystem = g_attrArchive = 0;
    g_attrReadOnly = 1;
    RunWithClicks(ChangeAttributesCommand, {kSubfolders, kFilesOnly}, IDOK);

    EXPECT_EQ(Attributes("Top"), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(Attributes("Top\\Inner"), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Attributes("Top\\one.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Attributes("Top\\Inner\\two.txt"), FILE_ATTRIBUTE_READONLY);
}

TEST_F(AttributeChange, NoBoxTickedClearsAllFourAndTheProgramKeepsItsOwn)
{
    Folder("Top");
    File("Top\\data.txt");
    File("Top\\klokan99.exe");
    File("own.exe");
    for (const char *item : {"Top\\data.txt", "Top\\klokan99.exe", "own.exe"})
        SetAttributes(item, kFourAttributes);
    SetAttributes("Top", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const DWORD kept = Attributes("own.exe");
    ShowAndSelect({"Top", "own.exe"});
    // The program runs from the walked folder; a selected "own.exe" is checked
    // against it as well, by a second command.
    g_programPath = W(Make("Top\\klokan99.exe"));
    g_attrReadOnly = g_attrHidden = g_attrSystem = g_attrArchive = 1;
    RunWithClicks(ChangeAttributesCommand, {kReadOnly, kHidden, kSystem, kArchive, kSubfolders}, IDOK);

    EXPECT_EQ(Attributes("Top"), 0u);
    EXPECT_EQ(Attributes("Top\\data.txt"), 0u);
    EXPECT_EQ(Attributes("Top\\klokan99.exe"), kept);
    EXPECT_EQ(Attributes("own.exe"), 0u);

    SetAttributes("own.exe", kFourAttributes);
    g_programPath = W(Make("own.exe"));
    ShowAndSelect({"own.exe"});
    RunWithClicks(ChangeAttributesCommand, {}, IDOK);
    EXPECT_EQ(Attributes("own.exe"), kept);
}

TEST_F(AttributeChange, ShortNameInsideAWalkReachesExactlyThatItem)
{
    Folder("Top");
    HANDLE h = CreateFileW((std::wstring(temp.Path().begin(), temp.Path().end()) +
                            L"\\Top\\\u0416\u0417.txt").c_str(),
                           GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    File("Top\\plain.txt");
    ShowAndSelect({"Top"});
    g_attrReadOnly = g_attrSystem = g_attrArchive = 0;
    g_attrHidden = 1;
    RunWithClicks(ChangeAttributesCommand, {kSubfolders}, IDOK);

    DWORD attributes = GetFileAttributesW((std::wstring(temp.Path().begin(), temp.Path().end()) +
                                           L"\\Top\\\u0416\u0417.txt").c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Attributes("Top\\plain.txt"), FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(AttributeChange, RefusalsComeBeforeTheDialog)
{
    {
        ShowFolder(temp.Path());  // empty
        ModalAnswerer answerer({IDOK});
        ChangeAttributesCommand(g_hMainWnd);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, "No file in the list.");
    }
    File("a.txt");
    {
        ShowAndSelect({});
        ModalAnswerer answerer({IDOK});
        ChangeAttributesCommand(g_hMainWnd);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, "No file selected.");
    }
}

TEST_F(AttributeChange, CdRomDriveIsRefusedWithoutDialog)
{
    char folder[64] = {};
    std::snprintf(folder, sizeof folder, "L:\\attrs%lu", GetCurrentProcessId());
    if (!CreateDirectoryA(folder, nullptr)) GTEST_SKIP() << "the CD-ROM test drive cannot be written";
    std::string file = std::string(folder) + "\\a.txt";
    ASSERT_TRUE(MakeFile(file));
    ShowFolder(folder);
    SelectRows({0});
    ModalAnswerer answerer({IDOK});
    ChangeAttributesCommand(g_hMainWnd);
    ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[0].text, "Unable to change the attributes in the assigned drive.");
    EXPECT_EQ(answerer.Seen()[0].caption, "Error");
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & kFourAttributes,
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    SetCurrentDirectoryA("C:\\");
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder);
}

TEST_F(AttributeChange, DialogThatCannotBeShownGivesTheSystemError)
{
    File("a.txt");
    ShowAndSelect({"a.txt"});
    ModalAnswerer answerer({IDOK});
    HINSTANCE saved = g_hInstance;
    // An instance without the dialog templates.
    g_hInstance = GetModuleHandleA("kernel32.dll");
    ChangeAttributesCommand(g_hMainWnd);
    g_hInstance = saved;
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "System Error");
    EXPECT_EQ(answerer.Seen()[0].text, "Unable to display dialog.");
    EXPECT_EQ(Attributes("a.txt"), FilesAlwaysArchived() ? 0u : FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace
