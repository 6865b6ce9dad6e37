#include <gtest/gtest.h>

#include <string>

#include "program_paths.h"

namespace {

std::string Readme(const char *program)
{
    char out[kPathSize];
    DeriveReadmePath(program, out);
    return out;
}

std::string StartFolder(const char *program)
{
    char out[kPathSize];
    DeriveStartFolder(program, out);
    return out;
}

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

TEST(ProgramPaths, ReadmeThatWouldNotFitIsRefused)
{
    std::string longest(kPathSize - 1 - 4, 'a');  // 253 characters, no extension
    EXPECT_EQ(Readme(("C:\\" + longest.substr(3)).c_str()).size(), kPathSize - 1u);
    std::string tooLong(kPathSize - 1 - 3, 'a');   // ".TXT" would not fit
    EXPECT_EQ(Readme(tooLong.c_str()), "");
}

TEST(ProgramPaths, OwnPathIsTheRunningFile)
{
    char own[kPathSize];
    ASSERT_TRUE(ReadOwnProgramPath(own));
    char expected[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, expected, sizeof expected);
    EXPECT_STREQ(own, expected);
    EXPECT_NE(std::string(own).find("program_paths_test.exe"), std::string::npos);
}

} // namespace
