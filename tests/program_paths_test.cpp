#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "program_paths.h"
#include "test_support.h"

namespace {

std::string Readme(const std::string &program) { return U(DeriveReadmePath(W(program))); }

std::string StartFolder(const std::string &program) { return U(DeriveStartFolder(W(program))); }

TEST(ProgramPaths, ReadmeAndStartFolderFollowTheProgramFile)
{
    EXPECT_EQ(Readme("D:\\TOOLS\\KLOKAN99.EXE"), "D:\\TOOLS\\KLOKAN99.TXT");
    EXPECT_EQ(StartFolder("D:\\TOOLS\\KLOKAN99.EXE"), "D:\\");
    EXPECT_EQ(Readme("d:\\tools\\klokan98.exe"), "d:\\tools\\klokan98.TXT");
    EXPECT_EQ(StartFolder("d:\\tools\\klokan98.exe"), "D:\\");
}

TEST(ProgramPaths, RenamedFileKeepsItsReadmeBesideIt)
{
    // Only the file name's extension is replaced, whatever its length.
    EXPECT_EQ(Readme("C:\\A.B\\timestamps.program"), "C:\\A.B\\timestamps.TXT");
    EXPECT_EQ(Readme("C:\\A.B\\timestamps"), "C:\\A.B\\timestamps.TXT");
    EXPECT_EQ(Readme("C:\\A.B\\x.e"), "C:\\A.B\\x.TXT");
}

TEST(ProgramPaths, EmptyOrShortPathsGiveNothing)
{
    EXPECT_EQ(Readme(""), "");
    EXPECT_EQ(StartFolder(""), "");
    EXPECT_EQ(StartFolder("C:"), "");
    // Started from a share or a long-path form: no drive root to start in.
    EXPECT_EQ(StartFolder("\\\\server\\share\\KLOKAN99.EXE"), "");
    EXPECT_EQ(StartFolder("\\\\?\\C:\\TOOLS\\KLOKAN99.EXE"), "");
    EXPECT_EQ(StartFolder("C:TOOLS\\KLOKAN99.EXE"), "");
    EXPECT_EQ(Readme("ab"), "ab.TXT");
}

TEST(ProgramPaths, AnyLengthAndAnyNameAreKept)
{
    const std::string deep = "C:\\" + std::string(300, 'a') + "\\\xE5\x86\x99\xE7\x9C\x9F.exe";
    EXPECT_EQ(Readme(deep), deep.substr(0, deep.size() - 3) + "TXT");
}

TEST(ProgramPaths, OwnPathIsTheRunningFile)
{
    const std::wstring own = ReadOwnProgramPath();
    wchar_t expected[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, expected, MAX_PATH);
    EXPECT_EQ(own, expected);
    EXPECT_NE(own.find(L"program_paths_test.exe"), std::wstring::npos);
}

} // namespace
