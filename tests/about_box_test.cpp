// The About box of whichever program the test is linked with: both
// languages open and close, Enter and Escape close it, ReadMe (and its
// mnemonic) opens the readme beside the program in Notepad, a missing readme
// and a missing dialog are reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "about_box.h"
#include "about_ids.h"
#include "about_expectations.h"
#include "bar_test_support.h"
#include "gui_test_support.h"
#include "language.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "test_support.h"

namespace {

std::wstring WindowTextW(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1023);
    return text;
}

// The texts of the dialog's static controls, joined.
std::wstring StaticTextsW(HWND dialog)
{
    std::wstring all;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 31);
        if (lstrcmpiW(cls, L"Static") == 0) all += WindowTextW(child) + L"|";
    }
    return all;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_japaneseMode = 0;
        g_hInstance = GetModuleHandleA(nullptr);
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                 nullptr, nullptr, g_hInstance, nullptr);
        ASSERT_TRUE(owner_);
        g_readmePath = W(ProgramFolder() + "\\" + kReadmeName);
    }
    void TearDown() override
    {
        g_japaneseMode = 0;
        g_hInstance = GetModuleHandleA(nullptr);
        DestroyWindow(owner_);
        DrainMessages();
    }
    HWND owner_ = nullptr;
};

TEST_F(AboutBoxTest, OpensAndClosesInBothLanguages)
{
    // The A dialog functions pass the Japanese template's texts through the
    // code page; under another than 932 they read "?", so the Japanese box is
    // checked when the tests run with that code page (a second ctest run).
    const bool japaneseCodePage = GetACP() == 932;
    for (int japanese : {0, 1}) {
        if (japanese && !japaneseCodePage) continue;
        SCOPED_TRACE(japanese ? "Japanese" : "English");
        g_japaneseMode = japanese;
        std::wstring caption, texts, closeText;
        bool ownerDisabled = false;
        {
            ModalAnswerer answerer([&](HWND dialog) {
                caption = WindowTextW(dialog);
                texts = StaticTextsW(dialog);
                closeText = WindowTextW(GetDlgItem(dialog, IDOK));
                ownerDisabled = !IsWindowEnabled(owner_);
                // Enter on the default button.
                PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_RETURN, 0);
            });
            ShowAboutBox(owner_);
            EXPECT_EQ(1u, answerer.Seen().size()) << answerer.Describe();
        }
        EXPECT_TRUE(ownerDisabled);
        EXPECT_EQ(japanese ? L"御案内" : L"About", caption);
        EXPECT_EQ(japanese ? L"閉じる" : L"Close", closeText);
        EXPECT_NE(std::wstring::npos, texts.find(japanese ? kVersionLineJapanese : kVersionLine))
            << "texts do not name the version";
        EXPECT_NE(std::wstring::npos, texts.find(L"Retempo developers"));
        EXPECT_NE(std::wstring::npos, texts.find(L"retempo@example.org"));
    }
    // Enter closed the box without opening the readme.
    Sleep(500);
    EXPECT_FALSE(FindNotepadFor(kReadmeTitle));
}

TEST_F(AboutBoxTest, ReadmeBesideTheProgramIsPlainAscii)
{
    std::ifstream file(U(g_readmePath), std::ios::binary);
    ASSERT_TRUE(file) << U(g_readmePath);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_GT(text.size(), 500u);
    for (unsigned char c : text) ASSERT_TRUE(c < 0x80) << "non-ASCII byte in the readme";
    EXPECT_NE(std::string::npos, text.find("!!!"));
    EXPECT_NE(std::string::npos, text.find("\r\n"));
}

TEST_F(AboutBoxTest, EscapeClosesTheBoxWithoutTheReadme)
{
    ASSERT_FALSE(FindNotepadFor(kReadmeTitle)) << "a Notepad from elsewhere is open";
    INT_PTR result = -1;
    {
        ModalAnswerer answerer([](HWND dialog) {
            // Escape reaches the dialog manager through the focused button.
            PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        });
        result = DialogBoxParamW(g_hInstance, L"ABOUT_DLG", owner_, AboutDlgProc, 0);
        EXPECT_EQ(1u, answerer.Seen().size()) << answerer.Describe();
    }
    EXPECT_EQ(0, result) << "Escape must close the box as Close does, not run ReadMe";
    Sleep(1000);
    EXPECT_FALSE(FindNotepadFor(kReadmeTitle));
}

TEST_F(AboutBoxTest, ReadmeMnemonicOpensTheReadmeInNotepadAndCloses)
{
    ASSERT_FALSE(FindNotepadFor(kReadmeTitle)) << "a Notepad from elsewhere is open";
    const bool japaneseCodePage = GetACP() == 932;
    g_japaneseMode = japaneseCodePage ? 1 : 0;
    std::wstring readmeText;
    {
        ModalAnswerer answerer([&](HWND dialog) {
            readmeText = WindowTextW(GetDlgItem(dialog, IDC_ABOUT_README));
            // Alt+R, as the keyboard sends it to the focused Close button.
            PostMessageA(GetDlgItem(dialog, IDOK), WM_SYSCHAR, 'r', 1 << 29);
        });
        ShowAboutBox(owner_);
        EXPECT_EQ(1u, answerer.Seen().size()) << answerer.Describe();
    }
    EXPECT_EQ(japaneseCodePage ? L"使い方(&R)" : L"&ReadMe", readmeText);
    HWND notepad = WaitForNotepadFor(kReadmeTitle, 20000);
    ASSERT_TRUE(notepad);
    CloseNotepad(notepad);
    EXPECT_FALSE(FindNotepadFor(kReadmeTitle));
}

TEST_F(AboutBoxTest, MissingReadmeIsReportedAndTheBoxCloses)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    // A packaged "klokan99.exe" looks for "klokan99.TXT"; the message names
    // the readme as it is shipped, and an empty path names it too.
    std::string lowerName = kReadmeName;
    CharLowerA(&lowerName[0]);
    char missing[MAX_PATH] = {};
    std::snprintf(missing, sizeof missing, "%sretempo-no-readme-%lu\\%s", folder,
                  GetCurrentProcessId(), lowerName.c_str());
    const struct {
        int japanese;
        const char *path;
    } runs[] = {{0, missing}, {1, missing}, {0, ""}};
    for (const auto &run : runs) {
        const int japanese = run.japanese;
        g_readmePath = W(run.path);
        g_japaneseMode = japanese;
        ModalAnswerer answerer([](HWND dialog) {
            // A message box carries its icon in control 0x0440; the About box has none.
            if (GetDlgItem(dialog, 0x0440))
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            else
                PostMessageA(dialog, WM_COMMAND, IDC_ABOUT_README, 0);  // the ReadMe button
        });
        ShowAboutBox(owner_);
        ASSERT_EQ(2u, answerer.Seen().size()) << answerer.Describe();
        const SeenBox &box = answerer.Seen()[1];
        if (!japanese) {
            EXPECT_EQ("Error", box.caption);
            EXPECT_EQ(std::string("Install the readme file (") + kReadmeName +
                          ")\nin the same directory.",
                      box.text);
        } else {
            EXPECT_EQ("エラー", box.caption);
            EXPECT_EQ(std::string("説明ファイル(") + kReadmeName +
                          ")を、本フォルダに\nインストールしてください.",
                      box.text);
        }
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.icon);
    }
}

TEST_F(AboutBoxTest, DialogThatCannotBeShownGivesTheSystemError)
{
    // A module without the dialog templates.
    g_hInstance = GetModuleHandleA("kernel32.dll");
    ModalAnswerer answerer(std::vector<int>{IDOK});
    ShowAboutBox(owner_);
    ASSERT_EQ(1u, answerer.Seen().size()) << answerer.Describe();
    EXPECT_EQ("System Error", answerer.Seen()[0].caption);
    EXPECT_EQ("Unable to display dialog", answerer.Seen()[0].text);
}

TEST(CodePage, TheJapaneseRunHasCodePage932)
{
    // The Japanese checks above are skipped under other code pages; this
    // keeps the Japanese run from passing without them.
    const char *locale = std::getenv("LC_ALL");
    if (!locale || std::strncmp(locale, "ja_JP", 5) != 0) GTEST_SKIP() << "not the Japanese run";
    EXPECT_EQ(932u, GetACP());
}

TEST(NotepadCommand, QuotesBothPaths)
{
    EXPECT_EQ(BuildNotepadCommand(L"C:\\Windows", L"D:\\My Tools\\KLOKAN99.TXT"),
              L"\"C:\\Windows\\NOTEPAD.EXE\" \"D:\\My Tools\\KLOKAN99.TXT\"");
}

}  // namespace
