#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "fixture_trees.h"
#include "path_limits.h"
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
        folder.c_str(), own.c_str(),
        [&](const char *path, bool) {
            visits.order.push_back(path);
            ++visits.count[path];
            return true;
        },
        [&](const char *at, const char *name) {
            visits.unreachable.push_back(name ? std::string(name) : "<unlisted> " + std::string(at));
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
        root.Path().c_str(), "", [&](const char *, bool) { return ++calls < 3; },
        [](const char *, const char *) { return true; });
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

TEST(SubtreeWalk, AnEntryWhosePathWouldNotFitIsReportedNotCut)
{
    TempFolder root;
    // A folder whose own path still fits, holding a name that makes it too long.
    std::string deep = root.Path() + "\\";
    deep += std::string(kMaxPathChars - 6 - deep.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    std::string longFile = deep + "\\long.txt";
    HANDLE file = CreateFileA(longFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    Visits visits;
    EXPECT_TRUE(WalkRecording(root.Path(), "", visits));
    EXPECT_EQ(visits.count[deep], 1);
    ASSERT_EQ(visits.unreachable.size(), 1u);
    EXPECT_EQ(visits.unreachable[0], "long.txt");
    EXPECT_EQ(visits.order.size(), 1u);
    // The temporary folder's removal needs the full name here.
    EXPECT_TRUE(DeleteFileA(longFile.c_str()));
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
        root.Path().c_str(), "",
        [&](const char *path, bool isFolder) {
            ++visits.count[path];
            if (isFolder) {
                std::string moved = std::string(path) + "_moved";
                EXPECT_TRUE(MoveFileA(path, moved.c_str()));
                EXPECT_TRUE(CreateDirectoryA(path, nullptr));
                WIN32_FIND_DATAA found = {};
                HANDLE search = FindFirstFileA((moved + "\\*").c_str(), &found);
                if (search != INVALID_HANDLE_VALUE) {
                    do {
                        std::string name = found.cFileName;
                        if (name == "." || name == "..") continue;
                        EXPECT_TRUE(MoveFileA((moved + "\\" + name).c_str(),
                                              (std::string(path) + "\\" + name).c_str()));
                    } while (FindNextFileA(search, &found));
                    FindClose(search);
                }
                MakeFolder(root.Child("new_" + std::to_string(visits.count.size())));
                EXPECT_TRUE(RemoveDirectoryA(moved.c_str()));
            }
            return true;
        },
        [](const char *, const char *) { return true; });
    EXPECT_TRUE(finished);
    std::map<std::string, int> expected = {
        {root.Child("p"), 1}, {root.Child("q"), 1}, {root.Child("q\\r.txt"), 1}};
    EXPECT_EQ(visits.count, expected);
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(JoinPath, RefusesRatherThanCuts)
{
    char out[kPathBufferSize];
    EXPECT_TRUE(JoinPath("C:\\Data", "Photos", out));
    EXPECT_STREQ(out, "C:\\Data\\Photos");
    EXPECT_TRUE(JoinPath("C:\\", "Photos", out));
    EXPECT_STREQ(out, "C:\\Photos");
    std::string folder = "C:\\" + std::string(kMaxPathChars - 5, 'f');  // kMaxPathChars - 2 long
    EXPECT_TRUE(JoinPath(folder.c_str(), "x", out));
    EXPECT_EQ(std::string(out).size(), static_cast<size_t>(kMaxPathChars));
    EXPECT_FALSE(JoinPath(folder.c_str(), "xy", out));
    EXPECT_STREQ(out, "");
}

}  // namespace
