#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "fixture_trees.h"
#include "path_text.h"
#include "subtree_walk.h"
#include "temp_tree.h"

namespace {

struct Visits {
    std::vector<std::string> order;
    std::map<std::string, int> count;
    std::vector<std::string> unreachable;
};

bool WalkRecording(const std::string &folder, const std::string &own, Visits &visits,
                   WalkOrder order = WalkOrder::FolderFirst)
{
    return WalkSubtree(
        W(folder), W(own),
        [&](const std::wstring &path, bool) {
            visits.order.push_back(U(path));
            ++visits.count[U(path)];
            return true;
        },
        [&](const std::wstring &at, NotChanged reason) {
            visits.unreachable.push_back((reason == NotChanged::NotListed ? "<unlisted> " : "<unnamed> ") + U(at));
            return true;
        },
        order);
}

int Position(const Visits &visits, const std::string &path)
{
    for (size_t i = 0; i < visits.order.size(); ++i)
        if (visits.order[i] == path) return static_cast<int>(i);
    return -1;
}

// Three levels of files and folders, dot entries at two levels, and a file
// standing in for the program itself.
void MakeNestedTree(const TempFolder &root)
{
    MakeFileWith(root.Child("a.txt"), "a");
    MakeFolder(root.Child(".settings"));
    MakeFileWith(root.Child(".settings\\inner.txt"), "x");
    MakeFileWith(root.Child(".profile"), "x");
    MakeFolder(root.Child("one"));
    MakeFileWith(root.Child("one\\b.txt"), "bb");
    MakeFileWith(root.Child("one\\Klokan99.exe"), "MZ");
    MakeFolder(root.Child("one\\two"));
    MakeFileWith(root.Child("one\\two\\c.txt"), "ccc");
    MakeFileWith(root.Child("one\\two\\.hidden"), "x");
    MakeFolder(root.Child("one\\two\\three"));
    MakeFileWith(root.Child("one\\two\\three\\d.txt"), "dddd");
    MakeFolder(root.Child("empty"));
}

TEST(SubtreeWalk, VisitsEveryEntryOnceFolderBeforeItsContents)
{
    TempFolder root;
    MakeNestedTree(root);
    std::string before = CurrentDirectory();
    Visits visits;
    // The own path in other letter case still matches.
    EXPECT_TRUE(WalkRecording(root.Path(), root.Child("ONE\\klokan99.EXE"), visits));

    std::map<std::string, int> expected = {
        {root.Child("a.txt"), 1},          {root.Child("one"), 1},
        {root.Child("one\\b.txt"), 1},     {root.Child("one\\two"), 1},
        {root.Child("one\\two\\c.txt"), 1}, {root.Child("one\\two\\three"), 1},
        {root.Child("one\\two\\three\\d.txt"), 1}, {root.Child("empty"), 1}};
    EXPECT_EQ(visits.count, expected);
    EXPECT_TRUE(visits.unreachable.empty());
    auto position = [&](const std::string &path) {
        for (size_t i = 0; i < visits.order.size(); ++i)
            if (visits.order[i] == path) return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(position(root.Child("one")), position(root.Child("one\\b.txt")));
    EXPECT_LT(position(root.Child("one\\two")), position(root.Child("one\\two\\three")));
    EXPECT_LT(position(root.Child("one\\two\\three")), position(root.Child("one\\two\\three\\d.txt")));
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(SubtreeWalk, ContentsFirstVisitsEachFolderAfterEverythingInIt)
{
    TempFolder root;
    MakeNestedTree(root);
    Visits visits;
    EXPECT_TRUE(WalkRecording(root.Path(), "", visits, WalkOrder::ContentsFirst));
    EXPECT_EQ(visits.count.size(), 9u);  // the stand-in for the program is a plain file here
    for (const auto &visit : visits.count) EXPECT_EQ(visit.second, 1) << visit.first;
    EXPECT_GT(Position(visits, root.Child("one")), Position(visits, root.Child("one\\b.txt")));
    EXPECT_GT(Position(visits, root.Child("one")), Position(visits, root.Child("one\\two\\three\\d.txt")));
    EXPECT_GT(Position(visits, root.Child("one\\two")), Position(visits, root.Child("one\\two\\three")));
    EXPECT_GT(Position(visits, root.Child("one\\two\\three")),
              Position(visits, root.Child("one\\two\\three\\d.txt")));
}

TEST(SubtreeWalk, AStartFolderWithTrailingBackslashGivesSinglySeparatedPaths)
{
    TempFolder root;
    MakeFileWith(root.Child("a.txt"), "a");
    Visits visits;
    EXPECT_TRUE(WalkRecording(root.Path() + "\\", "", visits));
    ASSERT_EQ(visits.order.size(), 1u);
    EXPECT_EQ(visits.order[0], root.Child("a.txt"));
}

TEST(SubtreeWalk, StopsWhenTheActionSaysSoAndKeepsTheCurrentDirectory)
{
    TempFolder root;
    MakeNestedTree(root);
    std::string before = CurrentDirectory();
    int calls = 0;
    bool finished = WalkSubtree(
        W(root.Path()), L"", [&](const std::wstring &, bool) { return ++calls < 3; },
        [](const std::wstring &, NotChanged) { return true; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(SubtreeWalk, AFileOrFolderMissingYieldsNothing)
{
    TempFolder root;
    MakeFileWith(root.Child("plain.txt"), "x");
    Visits visits;
    EXPECT_TRUE(WalkRecording(root.Child("plain.txt"), "", visits));
    EXPECT_TRUE(WalkRecording(root.Child("absent"), "", visits));
    EXPECT_TRUE(visits.order.empty());
}

TEST(SubtreeWalk, LinksAreMetAsEntriesButNeverWalkedThrough)
{
    const std::string chosen = FixtureTree("links/chosen");
    Visits visits;
    EXPECT_TRUE(WalkRecording(chosen, "", visits));
    // The linked folder is an entry of its own; what it leads to is elsewhere.
    EXPECT_EQ(visits.count[chosen + "\\link-to-outside-dir"], 1);
    EXPECT_EQ(visits.count[chosen + "\\link-to-outside.txt"], 1);
    EXPECT_EQ(visits.count[chosen + "\\sub\\inner.txt"], 1);
    EXPECT_EQ(visits.count.count(chosen + "\\link-to-outside-dir\\deep.txt"), 0u);
    EXPECT_TRUE(visits.unreachable.empty());
}

TEST(SubtreeWalk, LockedFolderIsReportedAndTheRestWalked)
{
    const std::string locked = FixtureTree("locked");
    WIN32_FIND_DATAA found;
    HANDLE probe = FindFirstFileA((locked + "\\sealed\\*").c_str(), &found);
    if (probe != INVALID_HANDLE_VALUE) FindClose(probe);
    ASSERT_EQ(probe, INVALID_HANDLE_VALUE)
        << "the sealed folder can be read: this test runs through ctest's entry "
           "subtree_walk_test_locked, which takes away root's right to read past permissions";
    Visits visits;
    EXPECT_TRUE(WalkRecording(locked, "", visits));
    EXPECT_EQ(visits.count[locked + "\\open.txt"], 1);
    EXPECT_EQ(visits.count[locked + "\\sealed"], 1);
    EXPECT_EQ(visits.unreachable, std::vector<std::string>{"<unlisted> " + locked + "\\sealed"});
}

TEST(SubtreeWalk, NamesAreTakenExactlyAndPathsRunPastTheOldLimit)
{
    TempFolder root;
    // A name ending in a dot beside the same name without it, a look-alike
    // pair, a folder whose name ends in a character with a 0x5C byte in
    // Shift-JIS, and a file more than 300 characters down.
    for (const char *name : {"report.", "report", "\xC4\x81.txt", "a.txt", "\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8"})
        MakeFileWith(root.Child(name), name);
    std::string deep = root.Path();
    for (int level = 0; level < 5; ++level) {
        deep += "\\" + std::string(60, static_cast<char>('a' + level));
        MakeFolder(deep);
    }
    MakeFileWith(deep + "\\deep.txt", "deep");
    Visits visits;
    EXPECT_TRUE(WalkRecording(root.Path(), "", visits));
    for (const char *name : {"report.", "report", "\xC4\x81.txt", "a.txt", "\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8"})
        EXPECT_EQ(visits.count[root.Child(name)], 1) << name;
    EXPECT_EQ(visits.count[deep + "\\deep.txt"], 1);
    EXPECT_EQ(visits.order.size(), 11u);
    EXPECT_TRUE(visits.unreachable.empty());
}

TEST(SubtreeWalk, EntriesMadeOrRenamedByTheActionAreNotMetAgain)
{
    TempFolder root;
    MakeFolder(root.Child("p"));
    MakeFolder(root.Child("q"));
    MakeFileWith(root.Child("q\\r.txt"), "r");
    Visits visits;
    std::string before = CurrentDirectory();
    // The action re-creates every folder it meets, as the rebuild does, and
    // leaves a sibling beside it.
    bool finished = WalkSubtree(
        W(root.Path()), L"",
        [&](const std::wstring &widePath, bool isFolder) {
            const std::string path = U(widePath);
            ++visits.count[path];
            if (isFolder) {
                std::string moved = path + "_moved";
                EXPECT_TRUE(MoveFileA(path.c_str(), moved.c_str()));
                EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
                WIN32_FIND_DATAA found = {};
                HANDLE search = FindFirstFileA((moved + "\\*").c_str(), &found);
                if (search != INVALID_HANDLE_VALUE) {
                    do {
                        std::string name = found.cFileName;
                        if (name == "." || name == "..") continue;
                        EXPECT_TRUE(MoveFileA((moved + "\\" + name).c_str(),
                                              (path + "\\" + name).c_str()));
                    } while (FindNextFileA(search, &found));
                    FindClose(search);
                }
                MakeFolder(root.Child("new_" + std::to_string(visits.count.size())));
                EXPECT_TRUE(RemoveDirectoryA(moved.c_str()));
            }
            return true;
        },
        [](const std::wstring &, NotChanged) { return true; });
    EXPECT_TRUE(finished);
    std::map<std::string, int> expected = {
        {root.Child("p"), 1}, {root.Child("q"), 1}, {root.Child("q\\r.txt"), 1}};
    EXPECT_EQ(visits.count, expected);
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(PathText, JoinsSplitsAndGivesTheSystemEveryNameAsItStands)
{
    EXPECT_EQ(JoinPath(L"C:\\Data", L"Photos"), L"C:\\Data\\Photos");
    EXPECT_EQ(JoinPath(L"C:\\", L"Photos"), L"C:\\Photos");
    EXPECT_EQ(ParentOf(L"C:\\Data\\Photos"), L"C:\\Data");
    EXPECT_EQ(ParentOf(L"C:\\Photos"), L"C:\\");
    EXPECT_EQ(NameOf(L"C:\\Data\\report."), L"report.");
    EXPECT_EQ(RootOf(L"c:\\Data"), L"C:\\");
    EXPECT_EQ(RootOf(L"\\\\server\\share\\Data"), L"\\\\server\\share\\");
    EXPECT_EQ(RootOf(L"Data"), L"");
    // The extended form keeps a trailing dot, and comes back as it went.
    for (const wchar_t *path : {L"C:\\Data\\report.", L"\\\\server\\share\\CON"}) {
        const std::wstring system = SystemPath(path);
        EXPECT_EQ(system.compare(0, 4, L"\\\\?\\"), 0) << U(path);
        EXPECT_EQ(DisplayPath(system), path);
    }
    EXPECT_EQ(SystemPath(L"C:\\Data"), L"\\\\?\\C:\\Data");
    EXPECT_EQ(SystemPath(L"\\\\server\\share"), L"\\\\?\\UNC\\server\\share");
    EXPECT_EQ(SystemPath(L"relative"), L"relative");
}

}  // namespace
