#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "item_names.h"
#include "test_support.h"

namespace {

WIN32_FIND_DATAA Found(const char *name, const char *shortName)
{
    WIN32_FIND_DATAA found = {};
    std::strcpy(found.cFileName, name);
    std::strcpy(found.cAlternateFileName, shortName);
    return found;
}

TEST(ItemNames, WildcardsAreQuestionMarkAndStar)
{
    EXPECT_FALSE(HasWildcard("C:\\folder\\a.txt"));
    EXPECT_FALSE(HasWildcard(""));
    EXPECT_TRUE(HasWildcard("C:\\folder\\?.txt"));
    EXPECT_TRUE(HasWildcard("C:\\*"));
}

TEST(ItemNames, UsableNameFallsBackToAShortNameWithoutWildcards)
{
    WIN32_FIND_DATAA plain = Found("a.txt", "");
    EXPECT_EQ(UsableName(plain), plain.cFileName);
    WIN32_FIND_DATAA unspellable = Found("?.txt", "A~1.TXT");
    EXPECT_EQ(UsableName(unspellable), unspellable.cAlternateFileName);
    WIN32_FIND_DATAA noShort = Found("?.txt", "");
    EXPECT_EQ(UsableName(noShort), nullptr);
    WIN32_FIND_DATAA badShort = Found("?.txt", "?~1.TXT");
    EXPECT_EQ(UsableName(badShort), nullptr);
}

// A name the code page cannot spell, beside a plain one: the search reports
// it with "?", and the usable name either reaches that very file or is absent.
TEST(ItemNames, UnspellableNameNeverReachesAnotherItem)
{
    if (GetACP() == 932) GTEST_SKIP() << "the name is spellable in this code page";
    TempFolder temp;
    ASSERT_FALSE(temp.Path().empty());
    ASSERT_TRUE(MakeFile(temp.Child("a.txt")));
    wchar_t wideFolder[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, temp.Path().c_str(), -1, wideFolder, MAX_PATH);
    std::wstring wideName = std::wstring(wideFolder) + L"\\\u65e5.txt";
    HANDLE h = CreateFileW(wideName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "unspellable", 11, &written, nullptr);  // told apart from a.txt by size
    CloseHandle(h);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(temp.Child("*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::set<std::string> usable;
    int unspellable = 0;
    do {
        if (found.cFileName[0] == '.') continue;
        const char *name = UsableName(found);
        if (HasWildcard(found.cFileName)) {
            ++unspellable;
            if (name) {
                EXPECT_FALSE(HasWildcard(name));
                WIN32_FILE_ATTRIBUTE_DATA data;
                ASSERT_TRUE(GetFileAttributesExA(temp.Child(name).c_str(), GetFileExInfoStandard,
                                                 &data))
                    << name;
                EXPECT_EQ(data.nFileSizeLow, 11u) << "the short name reaches another file";
            } else {
                EXPECT_TRUE(found.cAlternateFileName[0] == '\0' ||
                            HasWildcard(found.cAlternateFileName));
            }
        } else {
            ASSERT_NE(name, nullptr);
            EXPECT_STREQ(name, found.cFileName);
        }
        if (name) usable.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(unspellable, 1);
    EXPECT_EQ(usable.count("a.txt"), 1u);
}

}  // namespace
