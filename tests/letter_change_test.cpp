// The Letters command on real trees in the test's temporary folder, with its
// dialog driven by the test.
#include "letter_change.h"

#include <algorithm>

#include "change_test_support.h"
#include "handles.h"
#include "list_refresh.h"

namespace {

constexpr int kCapital = 129, kSmall = 130, kSubfolders = 127, kFilesOnly = 128;

using LetterChange = ChangeCommandTest;

// The names the file system stores in the folder, dot entries left out.
std::vector<std::string> StoredNames(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileW(W(folder + "\\*").c_str(), &found));
    if (!search.Valid()) return names;
    do {
        std::string name = U(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

int FindIndex(const std::vector<std::string> &names, const std::string &name)
{
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
}


ULONGLONG ChangeTime(const std::string &path)
{
    FileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILE_BASIC_INFO info = {};
    if (!file.Valid() ||
        !GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &info, sizeof info))
        return 0;
    return static_cast<ULONGLONG>(info.ChangeTime.QuadPart);
}

TEST_F(LetterChange, DialogStartsWithCapitalsAndKeepsTheLastRadioClicked)
{
    File("a.txt");
    ShowAndSelect({"a.txt"});
    g_caseMode = 1;
    bool capital = false, small = true, subfoldersUsable = true;
    RunWithClicks(ChangeLettersCommand, {kSmall}, IDCANCEL, [&](HWND d) {
        capital = Ticked(d, kCapital);
        small = Ticked(d, kSmall);
        subfoldersUsable = Usable(d, kSubfolders);
    });
    EXPECT_TRUE(capital);
    EXPECT_FALSE(small);
    EXPECT_FALSE(subfoldersUsable) << "only a file is selected";
    EXPECT_EQ(g_caseMode, 0) << "a cancelled click stays";
    EXPECT_EQ(StoredNames(temp.Path()), std::vector<std::string>{"a.txt"});

    RunWithClicks(ChangeLettersCommand, {}, IDCANCEL, [&](HWND d) {
        capital = Ticked(d, kCapital);
        small = Ticked(d, kSmall);
    });
    EXPECT_FALSE(capital);
    EXPECT_TRUE(small);
}

TEST_F(LetterChange, NamesTakeEitherCaseAndTheListKeepsItsOrder)
{
    File("Readme.Txt", "readme");
    File("b.txt");
    Folder("Data");
    ShowAndSelect({"Readme.Txt", "Data"});
    std::vector<std::string> rowsBefore = RowNames();

    RunWithClicks(ChangeLettersCommand, {kCapital}, IDOK);
    EXPECT_EQ(StoredNames(temp.Path()), Sorted({"DATA", "README.TXT", "b.txt"}));
    EXPECT_EQ(ReadBytesOf("README.TXT"), "readme");
    std::vector<std::string> rowsAfter = rowsBefore;
    rowsAfter[FindIndex(rowsBefore, "Readme.Txt")] = "README.TXT";
    rowsAfter[FindIndex(rowsBefore, "Data")] = "DATA";
    EXPECT_EQ(RowNames(), rowsAfter) << "new names in the old row order";
    EXPECT_EQ(g_refreshMode, kRefreshName);

    SelectRows({FindRow("README.TXT")});
    RunWithClicks(ChangeLettersCommand, {kSmall}, IDOK);
    EXPECT_EQ(StoredNames(temp.Path()), Sorted({"DATA", "readme.txt", "b.txt"}));
    EXPECT_EQ(RowText(FindIndex(rowsBefore, "Readme.Txt"), 0), "readme.txt");
    // The folder part of the path keeps its spelling.
    EXPECT_EQ(GetFileAttributesA(temp.Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(CurrentDirectory(), temp.Path());
}

TEST_F(LetterChange, AttributesComeBackAndANameInTheWantedCaseIsNotTouched)
{
    File("Locked.Txt");
    File("ALREADY.TXT");
    SetAttributes("Locked.Txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetAttributes("ALREADY.TXT", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    ShowAndSelect({"Locked.Txt", "ALREADY.TXT"});
    ULONGLONG untouched = ChangeTime(Make("ALREADY.TXT"));
    Sleep(20);
    RunWithClicks(ChangeLettersCommand, {kCapital}, IDOK);

    EXPECT_EQ(StoredNames(temp.Path()), Sorted({"ALREADY.TXT", "LOCKED.TXT"}));
    EXPECT_EQ(Attributes("LOCKED.TXT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Attributes("ALREADY.TXT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(ChangeTime(Make("ALREADY.TXT")), untouched) << "its attributes were rewritten";
}

TEST_F(LetterChange, FailedRenameLeavesNameAndAttributes)
{
    File("Open.Txt", "kept");
    SetAttributes("Open.Txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ShowAndSelect({"Open.Txt"});
    {
        // Held open without delete sharing: no rename can go through.
        FileHandle held(CreateFileA(Make("Open.Txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.Valid());
        RunWithClicks(ChangeLettersCommand, {kSmall}, IDOK);
    }
    EXPECT_EQ(StoredNames(temp.Path()), std::vector<std::string>{"Open.Txt"});
    EXPECT_EQ(Attributes("Open.Txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadBytesOf("Open.Txt"), "kept");
}

TEST_F(LetterChange, SubfoldersFolderFirstThenContentsDotNamesAndOwnFileKept)
{
    Folder("Top");
    Folder("Top\\Inner");
    Folder("Top\\Inner\\Deep");
    File("Top\\One.txt");
    File("Top\\Inner\\Two.txt", "two");
    File("Top\\Inner\\Deep\\Three.txt");
    File("Top\\.Dotted");
    File("Top\\Inner\\Klokan99.exe");
    File(".Selected");
    g_programPath = W(Make("Top\\Inner\\Klokan99.exe"));
    // A folder of the program's own name is never refused on that ground.
    ShowAndSelect({"Top", ".Selected"});
    RunWithClicks(ChangeLettersCommand, {kSmall, kSubfolders}, IDOK);

    EXPECT_EQ(StoredNames(temp.Path()), Sorted({".selected", "top"}));
    EXPECT_EQ(StoredNames(Make("top")), Sorted({".Dotted", "inner", "one.txt"}));
    EXPECT_EQ(StoredNames(Make("top\\inner")), Sorted({"Klokan99.exe", "deep", "two.txt"}));
    EXPECT_EQ(StoredNames(Make("top\\inner\\deep")), std::vector<std::string>{"three.txt"});
    EXPECT_EQ(ReadBytesOf("top\\inner\\two.txt"), "two");
    EXPECT_EQ(CurrentDirectory(), temp.Path());
}

TEST_F(LetterChange, FilesOnlyKeepsEveryFolderName)
{
    Folder("Top");
    Folder("Top\\Inner");
    File("Top\\Inner\\File.Txt");
    ShowAndSelect({"Top"});
    RunWithClicks(ChangeLettersCommand, {kCapital, kSubfolders, kFilesOnly}, IDOK);

    EXPECT_EQ(StoredNames(temp.Path()), std::vector<std::string>{"Top"});
    EXPECT_EQ(StoredNames(Make("Top")), std::vector<std::string>{"Inner"});
    EXPECT_EQ(StoredNames(Make("Top\\Inner")), std::vector<std::string>{"FILE.TXT"});
}

TEST_F(LetterChange, NamesNoCodePageSpellsGetTheirLettersByTheirOwnCase)
{
    Folder("Top");
    File("Top\\\xD0\x96\xD0\x97" "abc.txt");  // Cyrillic capitals
    File("Top\\\xC3\x89t\xC3\xA9.txt");    // a Latin one of code page 1252
    File("Top\\Plain.txt");
    ShowAndSelect({"Top"});
    RunWithClicks(ChangeLettersCommand, {kSmall, kSubfolders}, IDOK);
    EXPECT_EQ(StoredNames(Make("top")),
              Sorted({"\xD0\xB6\xD0\xB7" "abc.txt", "\xC3\xA9t\xC3\xA9.txt", "plain.txt"}));
}

TEST_F(LetterChange, ANewNameThatNamesAnotherItemIsRefused)
{
    // Learn the short name the system gives "Longfilename.txt", then make an
    // item whose own name is that short name in small letters before the long
    // one exists: in capitals its name would name the other item.
    Folder("probe");
    File("probe\\Longfilename.txt");
    WIN32_FIND_DATAA found = {};
    {
        FindHandle search(FindFirstFileA(Make("probe\\Longfilename.txt").c_str(), &found));
        ASSERT_TRUE(search.Valid());
    }
    std::string shortName = found.cAlternateFileName;
    if (shortName.empty()) GTEST_SKIP() << "no short names on this volume";
    std::string small = shortName;
    CharLowerA(&small[0]);

    File(small, "mine");
    File("Longfilename.txt", "other");
    {
        FindHandle search(FindFirstFileA(Make(shortName).c_str(), &found));
        ASSERT_TRUE(search.Valid());
        if (std::string(found.cFileName) != "Longfilename.txt")
            GTEST_SKIP() << "the short name does not name the long file here";
    }
    ShowAndSelect({small});
    RunWithClicks(ChangeLettersCommand, {kCapital}, IDOK);

    EXPECT_EQ(StoredNames(temp.Path()), Sorted({"Longfilename.txt", small, "probe"}));
    EXPECT_EQ(ReadBytesOf(small), "mine");
    EXPECT_EQ(ReadBytesOf("Longfilename.txt"), "other");
}

TEST_F(LetterChange, DirectCallsLeaveRootsAndUnknownItemsAlone)
{
    g_caseMode = 1;
    ChangeNameCase(L"C:\\");
    EXPECT_NE(GetFileAttributesA("C:\\"), INVALID_FILE_ATTRIBUTES);
    ChangeNameCase(W(Make("missing.txt")));
    EXPECT_TRUE(StoredNames(temp.Path()).empty());
}

TEST_F(LetterChange, NamesWithASecondByteOf0x5CKeepEveryCharacter)
{
    // In Shift-JIS "ソ" and "表" end in the byte of a backslash and "ア" in that
    // of 'A'; "ａ" is a letter of its own width.
    g_caseMode = 1;
    EXPECT_EQ(CaseChangedPath(L"C:\\Data\\ソ表アbc.Txt"), L"C:\\Data\\ソ表アBC.TXT");
    EXPECT_EQ(CaseChangedPath(L"C:\\Data\\表"), L"");
    g_caseMode = 0;
    EXPECT_EQ(CaseChangedPath(L"C:\\Data\\Xソ"), L"C:\\Data\\xソ");
    File("ソ表アbc.Txt");
    File("Name.Txt");
    ShowAndSelect({"ソ表アbc.Txt", "Name.Txt"});
    RunWithClicks(ChangeLettersCommand, {kCapital}, IDOK);
    EXPECT_EQ(StoredNames(temp.Path()), Sorted({"NAME.TXT", "ソ表アBC.TXT"}));
}

TEST_F(LetterChange, CodePage932ShowsTheJapaneseDialog)
{
    if (GetACP() != 932) GTEST_SKIP() << "runs under the Japanese code page only";
    g_japaneseMode = 1;
    File("Name.Txt");
    ShowAndSelect({"Name.Txt"});
    std::string caption;
    RunWithClicks(ChangeLettersCommand, {kCapital}, IDOK, [&](HWND d) {
        wchar_t text[64] = {};
        GetWindowTextW(d, text, 64);
        caption = U(text);
    });
    EXPECT_EQ(caption, "文字の変更");
    EXPECT_EQ(StoredNames(temp.Path()), std::vector<std::string>{"NAME.TXT"});
}

}  // namespace

namespace {

TEST(LettersLeftUnderATemporaryName, AreNamedWithBothNamesInOneMessage)
{
    g_namesLeftTemporary = {{L"C:\\Photos\\a.jpg", L"C:\\Photos\\~case00.tmp"},
                            {L"C:\\Photos\\b.jpg", L"C:\\Photos\\~case01.tmp"}};
    ModalAnswerer answerer({IDOK});
    ShowNamesLeftTemporary(nullptr);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    const std::string text = answerer.Seen()[0].text;
    for (const NameLeftTemporary &left : g_namesLeftTemporary) {
        EXPECT_NE(text.find(U(left.before)), std::string::npos) << text;
        EXPECT_NE(text.find(U(left.temporary)), std::string::npos) << text;
    }
    g_namesLeftTemporary.clear();
    ModalAnswerer none({IDOK});
    ShowNamesLeftTemporary(nullptr);
    EXPECT_TRUE(none.Seen().empty());
}

}  // namespace
