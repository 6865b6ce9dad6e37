#include <gtest/gtest.h>

#include <cstring>

#include "language.h"
#include "skin_language.h"
#include "platform_seams.h"
#include "test_support.h"
#include "windows_kind.h"

namespace {

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kNineXKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// What the fake registry holds for each of the two keys.
struct FakeValue {
    MachineTextResult result;
    const char *text;
};
FakeValue g_fakeNt;
FakeValue g_fakeNineX;

MachineTextResult FakeReadMachineText(const char *keyPath, const char *valueName, char *out,
                                      DWORD size)
{
    std::memset(out, 0, size);
    const FakeValue *value = nullptr;
    if (std::strcmp(keyPath, kNtKey) == 0 && std::strcmp(valueName, "CurrentVersion") == 0)
        value = &g_fakeNt;
    else if (std::strcmp(keyPath, kNineXKey) == 0 && std::strcmp(valueName, "ProductName") == 0)
        value = &g_fakeNineX;
    if (!value) return kMachineKeyNotOpened;
    if (value->result == kMachineTextRead) lstrcpynA(out, value->text, static_cast<int>(size));
    return value->result;
}

TEST(WindowsKind, FromTheRegistryTexts)
{
    SeamGuard seams;
    IntGuard kind(g_windowsKind);
    g_platform.readMachineText = FakeReadMachineText;
    const FakeValue absent = {kMachineKeyNotOpened, ""};
    const FakeValue unreadable = {kMachineValueUnreadable, ""};
    struct Case {
        FakeValue nt, nineX;
        int before, expected;
    };
    const Case cases[] = {
        {absent, {kMachineTextRead, "Microsoft Windows 95"}, 5, 0},
        {absent, {kMachineTextRead, "Microsoft Windows 98"}, 5, 1},
        {absent, {kMachineTextRead, "Microsoft Windows ME"}, 5, 2},
        {absent, {kMachineTextRead, "Windows 98 Windows ME"}, 5, 2},
        {absent, {kMachineTextRead, "microsoft windows me"}, 5, 0},  // case-sensitive
        {absent, unreadable, 5, 0},             // a 9x system without a product name
        {absent, absent, 4, 4},                 // nothing known: left as it was
        {unreadable, {kMachineTextRead, "Microsoft Windows 98"}, 5, 1},
        {unreadable, absent, 3, 3},
        {{kMachineTextRead, "4.0"}, absent, 0, 3},
        {{kMachineTextRead, "5.0"}, absent, 0, 4},
        {{kMachineTextRead, "5.1"}, absent, 0, 5},
        {{kMachineTextRead, "5.2"}, absent, 0, 5},
        {{kMachineTextRead, "6.0"}, absent, 0, 6},
        {{kMachineTextRead, "6.1"}, absent, 0, 6},
        {{kMachineTextRead, "6.2"}, absent, 0, 7},
        {{kMachineTextRead, "6.3"}, absent, 0, 7},
        {{kMachineTextRead, "10.0"}, absent, 0, 7},
        {{kMachineTextRead, ""}, {kMachineTextRead, "Microsoft Windows 98"}, 0, 7},
    };
    for (const Case &c : cases) {
        g_fakeNt = c.nt;
        g_fakeNineX = c.nineX;
        g_windowsKind = c.before;
        DetectWindowsKind();
        EXPECT_EQ(g_windowsKind, c.expected) << "NT \"" << c.nt.text << "\" 9x \"" << c.nineX.text
                                             << "\"";
    }
}

TEST(WindowsKind, PureRulesTakeTheFirstMatch)
{
    EXPECT_EQ(WindowsKindFromVersionText(nullptr), 7);
    EXPECT_EQ(WindowsKindFromVersionText("4.0.1381"), 3);
    EXPECT_EQ(WindowsKindFromVersionText("5.1 5.0"), 4);  // "5.0" is tested before "5.1"
    EXPECT_EQ(WindowsKindFromProductName(nullptr), 0);
    EXPECT_EQ(WindowsKindFromProductName(""), 0);
}

TEST(WindowsKind, RealRegistryOfTheTestPrefixGivesSix)
{
    IntGuard kind(g_windowsKind);
    g_windowsKind = 0;
    DetectWindowsKind();
    EXPECT_EQ(g_windowsKind, 6);
}

TEST(MachineText, TellsAMissingKeyFromAMissingValueAndNeverOverruns)
{
    char text[16];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(g_realPlatform.readMachineText("SOFTWARE\\Retempo\\No such key", "Value", text, 8),
              kMachineKeyNotOpened);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(g_realPlatform.readMachineText(kNtKey, "No such value", text, 8),
              kMachineValueUnreadable);
    EXPECT_STREQ(text, "");

    // "6.1" needs four bytes with its terminator.
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(g_realPlatform.readMachineText(kNtKey, "CurrentVersion", text, 3),
              kMachineValueUnreadable);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(text[3], 'x');
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(g_realPlatform.readMachineText(kNtKey, "CurrentVersion", text, 5),
              kMachineTextRead);
    EXPECT_STREQ(text, "6.1");
    EXPECT_EQ(text[5], 'x');
}

TEST(ClockSeam, TestsCanNeverReachTheRealClockSetter)
{
    EXPECT_NE(g_platform.setClock, g_realPlatform.setClock);
    SYSTEMTIME now;
    g_platform.getClock(&now);
    SetLastError(0);
    EXPECT_FALSE(g_platform.setClock(&now));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
}

}  // namespace
