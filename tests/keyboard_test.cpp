// The main window from the keyboard and for screen readers, for whichever
// program the test is linked with: the key table's rules, Tab's order, keys
// that press bar commands through the bar, the focus kept across a message
// box, and the names of the bar buttons and of the painted-label controls.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "bar_test_support.h"
#include "date_time_selector.h"
#include "gui_test_support.h"
#include "icon_bar.h"
#include "keyboard.h"
#include "labels_layout.h"
#include "language.h"
#include "modal_answerer.h"
#include "program_table.h"

namespace {

void Handler(HWND) {}

TEST(KeyTable, AKeyIsFoundOnlyWithItsExactModifiers)
{
    const KeyEntry table[] = {
        {'A', kKeyCtrl, 0, Handler, false, false},
        {'A', kKeyCtrl | kKeyShift, 112, nullptr, false, false},
        {VK_UP, kKeyAlt, 110, nullptr, true, false},
        {VK_F4, kKeyAlt, 115, nullptr, false, true},
    };
    const struct {
        unsigned key;
        int modifiers;
        bool inCombo;
        int expected;  // index into table, -1 for none
    } cases[] = {
        {'A', kKeyCtrl, false, 0},
        {'A', kKeyCtrl | kKeyShift, false, 1},
        {'A', 0, false, -1},
        {'A', kKeyShift, false, -1},
        {VK_UP, kKeyAlt, false, 2},
        {VK_UP, kKeyAlt, true, -1},       // a combo box closes its list with it
        {'A', kKeyCtrl, true, 0},         // other keys work in a combo box too
        {VK_F4, kKeyAlt, false, -1},      // the system's own key is only listed
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << "/" << c.modifiers << "/" << c.inCombo);
        const KeyEntry *found = FindKeyEntry(table, 4, c.key, c.modifiers, c.inCombo);
        EXPECT_EQ(c.expected < 0 ? nullptr : &table[c.expected], found);
    }
}

TEST(KeyTable, CaptionsNameTheFirstKeyOfTheirCommand)
{
    const KeyEntry table[] = {
        {VK_BACK, 0, 110, nullptr, false, false},
        {VK_UP, kKeyAlt, 110, nullptr, true, false},
        {'A', kKeyCtrl | kKeyShift, 112, nullptr, false, false},
        {VK_F1, 0, 114, nullptr, false, false},
        {VK_DELETE, kKeyCtrl, 109, nullptr, false, false},
        {VK_F4, kKeyAlt, 115, nullptr, false, true},
    };
    EXPECT_EQ(L"Up One Level (Backspace)", CaptionWithKey(L"Up One Level", 110, table, 6));
    EXPECT_EQ(L"Attributes (Ctrl+Shift+A)", CaptionWithKey(L"Attributes", 112, table, 6));
    EXPECT_EQ(L"御案内 (F1)", CaptionWithKey(L"御案内", 114, table, 6));
    EXPECT_EQ(L"Delete All (Ctrl+Del)", CaptionWithKey(L"Delete All", 109, table, 6));
    EXPECT_EQ(L"Exit (Alt+F4)", CaptionWithKey(L"Exit", 115, table, 6));
    EXPECT_EQ(L"Letters", CaptionWithKey(L"Letters", 113, table, 6));
    EXPECT_EQ(L"Alt+Up", KeyText(table[1]));
}

TEST(KeyTable, TabGoesToTheNextUsableStopAndWrapsAround)
{
    const bool usable[] = {true, false, true, true, false};
    const struct {
        int current;
        bool backwards;
        int expected;
    } cases[] = {
        {0, false, 2}, {2, false, 3}, {3, false, 0},  // past the unusable, around the end
        {0, true, 3},  {2, true, 0},  {3, true, 2},
        {-1, false, 0}, {-1, true, 3},                // from nowhere: the first or the last
        {1, false, 2},                                // from a stop that was disabled meanwhile
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << (c.backwards ? " back" : " on"));
        EXPECT_EQ(c.expected, NextTabStop(usable, 5, c.current, c.backwards));
    }
    const bool none[] = {false, false};
    EXPECT_EQ(-1, NextTabStop(none, 2, 0, false));
    EXPECT_EQ(-1, NextTabStop(usable, 0, -1, false));
}

TEST(ProgramKeys, EveryBarCommandHasAKeyAndNoKeyIsTakenTwice)
{
    std::set<std::pair<unsigned, int>> taken;
    for (int i = 0; i < g_program.keyCount; ++i) {
        const KeyEntry &entry = g_program.keys[i];
        EXPECT_TRUE(taken.insert({entry.key, entry.modifiers}).second) << KeyText(entry).c_str();
        EXPECT_TRUE(entry.barCommand || entry.run) << "key " << i << " does nothing";
    }
    const IconBarLayout &bar = *g_program.iconBar;
    for (const IconBarButtonEntry &button : bar.buttons) {
        const std::wstring caption = CaptionWithKey(button.englishCaption, button.command,
                                                    g_program.keys, g_program.keyCount);
        EXPECT_NE(std::wstring(button.englishCaption), caption) << "no key for command " << button.command;
    }
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_japaneseMode = 0;
        window_ = CreateStartedMainWindow();
        ASSERT_TRUE(window_);
        ASSERT_TRUE(g_hIconBar);
        Activate(window_);
        DrainMessages();
    }
    void TearDown() override
    {
        SetBarBusy(false);
        g_japaneseMode = 0;
        DestroyMainWindow(window_);
    }
    // A key as the message loop meets it, aimed at the focused control.
    bool Press(unsigned key, int modifiers = 0)
    {
        MSG message = {};
        message.hwnd = GetFocus() ? GetFocus() : window_;
        message.message = (modifiers & kKeyAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        message.wParam = key;
        const bool handled = HandleMainWindowKeyWith(window_, message, modifiers);
        DrainMessages();
        return handled;
    }
    HWND window_ = nullptr;
};

TEST_F(KeyboardTest, NamesBarButtonsByTheirCaptionsAndListsByTheirLabels)
{
    // The Japanese run of this program's bar test checks the Japanese names.
    if (GetACP() == 932) {
        EXPECT_EQ(1, g_japaneseMode);
    }
    const IconBarLayout &bar = *g_program.iconBar;
    for (int i = 0; i < kBarButtons; ++i) {
        wchar_t text[64] = {};
        GetWindowTextW(g_iconBarButtons[i].window, text, 63);
        EXPECT_STREQ(g_japaneseMode ? bar.buttons[i].japaneseCaption : bar.buttons[i].englishCaption, text);
    }
    ASSERT_GT(g_program.namedControlCount, 6);
    for (int i = 0; i < g_program.namedControlCount; ++i) {
        const NamedControl &named = g_program.namedControls[i];
        HWND control = GetDlgItem(window_, named.controlId);
        ASSERT_TRUE(control) << named.controlId;
        HWND label = NamingLabelOf(control);
        ASSERT_TRUE(label) << "control " << named.controlId << " has no label before it";
        wchar_t text[128] = {};
        GetWindowTextW(label, text, 127);
        const PaintedLabel &painted = g_program.labels[named.labelIndex];
        EXPECT_STREQ(g_japaneseMode ? painted.japanese : painted.english, text);
        // Nothing drawn twice: the painted label stays what is seen.
        EXPECT_FALSE(IsWindowVisible(label));
    }
    // The year list is read as "Year".
    wchar_t year[32] = {};
    GetWindowTextW(NamingLabelOf(GetDlgItem(window_, g_program.firstListId)), year, 31);
    EXPECT_STREQ(g_japaneseMode ? L"年" : L"Year", year);
}

TEST_F(KeyboardTest, FirstFocusIsTheListAndTabVisitsEveryControlInReadingOrder)
{
    const std::vector<HWND> stops = TabStopWindows(window_);
    ASSERT_EQ(static_cast<std::size_t>(g_program.tabStopCount), stops.size());
    EXPECT_EQ(ProgramListView(), GetFocus());
    std::vector<HWND> usable;
    for (HWND stop : stops) {
        ASSERT_TRUE(stop);
        EXPECT_TRUE(GetWindowLongPtrW(stop, GWL_STYLE) & WS_TABSTOP);
        if (IsWindowEnabled(stop)) usable.push_back(stop);
    }
    // Start at the first stop and go once around, then back.
    SetFocus(usable[0]);
    auto focusedStop = [&]() -> HWND {
        for (HWND stop : usable)
            if (GetFocus() == stop || IsChild(stop, GetFocus())) return stop;
        return nullptr;
    };
    for (std::size_t i = 1; i <= usable.size(); ++i) {
        EXPECT_TRUE(Press(VK_TAB));
        EXPECT_EQ(usable[i % usable.size()], focusedStop()) << "Tab number " << i;
    }
    for (std::size_t i = usable.size(); i > 0; --i) {
        EXPECT_TRUE(Press(VK_TAB, kKeyShift));
        EXPECT_EQ(usable[(i - 1) % usable.size()], focusedStop()) << "Shift+Tab at " << i;
    }
}

TEST_F(KeyboardTest, KeysPressBarCommandsOnlyWhileTheirButtonsTakeClicks)
{
    const IconBarLayout &bar = *g_program.iconBar;
    CommandRecorder recorder(window_, bar.buttons[0].command, bar.buttons[kBarButtons - 1].command);
    for (bool busy : {false, true}) {
        SCOPED_TRACE(busy ? "during a run" : "idle");
        SetBarBusy(busy);
        for (int i = 0; i < g_program.keyCount; ++i) {
            const KeyEntry &entry = g_program.keys[i];
            if (!entry.barCommand || entry.systemKey) continue;
            HWND button = nullptr;
            for (int b = 0; b < kBarButtons; ++b)
                if (bar.buttons[b].command == entry.barCommand) button = g_iconBarButtons[b].window;
            ASSERT_TRUE(button);
            const bool takesClicks = IsWindowEnabled(button) != FALSE;
            SetFocus(ProgramListView());
            recorder.Clear();
            Press(entry.key, entry.modifiers);
            EXPECT_EQ(takesClicks ? std::vector<int>{entry.barCommand} : std::vector<int>{},
                      recorder.Commands())
                << KeyText(entry).c_str();
        }
    }
    // About takes clicks whenever the window is idle: its key must have run.
    SetBarBusy(false);
    recorder.Clear();
    Press(VK_F1);
    EXPECT_EQ(std::vector<int>{bar.buttons[4].command}, recorder.Commands());
}

TEST_F(KeyboardTest, FocusComesBackToItsControlAfterAMessageBox)
{
    HWND list = ProgramListView();
    HWND about = g_iconBarButtons[4].window;
    for (HWND control : {list, about, g_dateTimeLists[0]}) {
        SetFocus(control);
        ASSERT_EQ(control, GetFocus());
        {
            ModalAnswerer answerer(std::vector<int>{IDOK});
            MessageBoxW(window_, L"text", L"caption", MB_OK);
        }
        DrainMessages();
        EXPECT_EQ(control, GetFocus());
    }
}

}  // namespace
