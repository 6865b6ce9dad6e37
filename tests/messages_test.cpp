#include <gtest/gtest.h>

#include <string>

#include "language.h"
#include "messages.h"
#include "modal_answerer.h"
#include "report_box.h"
#include "test_support.h"

namespace {

struct LanguageGuard {
    explicit LanguageGuard(int mode) : saved(g_japaneseMode) { g_japaneseMode = mode; }
    ~LanguageGuard() { g_japaneseMode = saved; }
    int saved;
};

// The placeholders of a text, in order ("%s%d").
std::wstring Placeholders(const std::wstring &text)
{
    std::wstring out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'%') out += text.substr(i++, 2);
    return out;
}

TEST(MessageTable, EveryMessageHasBothLanguagesWithTheSamePlaceholders)
{
    for (int i = 0; i < static_cast<int>(Msg::Count); ++i) {
        Msg id = static_cast<Msg>(i);
        std::wstring english, japanese, englishCaption, japaneseCaption;
        {
            LanguageGuard guard(0);
            english = MessageText(id);
            englishCaption = MessageCaption(id);
        }
        {
            LanguageGuard guard(1);
            japanese = MessageText(id);
            japaneseCaption = MessageCaption(id);
        }
        EXPECT_FALSE(english.empty()) << i;
        EXPECT_FALSE(japanese.empty()) << i;
        EXPECT_FALSE(englishCaption.empty()) << i;
        EXPECT_FALSE(japaneseCaption.empty()) << i;
        EXPECT_NE(english, japanese) << "message " << i << " is not translated";
        EXPECT_EQ(Placeholders(english), Placeholders(japanese)) << i;
    }
}

TEST(MessageBoxes, ShowTheTextAndCaptionOfTheLanguageWhateverTheCodePage)
{
    ModalAnswerer answerer({IDOK});
    {
        LanguageGuard guard(0);
        ShowMessage(nullptr, Msg::NoFileSelected);
    }
    {
        LanguageGuard guard(1);
        ShowMessage(nullptr, Msg::NoFileSelected);
    }
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Error");
    EXPECT_EQ(answerer.Seen()[0].text, "No file selected.");
    EXPECT_EQ(answerer.Seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(answerer.Seen()[1].caption, "エラー");
    EXPECT_EQ(answerer.Seen()[1].text, "ファイルが選択されていません.");
}

TEST(MessageBoxes, ValuesFillThePlaceholdersInOrderAndQuestionsReturnTheAnswer)
{
    LanguageGuard guard(0);
    ModalAnswerer answerer({IDNO});
    int answer = ShowMessageFormatted(nullptr, Msg::MediaQuestion, {L"K:\\"});
    EXPECT_EQ(answer, IDNO);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "CAUTION");
    EXPECT_EQ(answerer.Seen()[0].text, "Does the drive K:\\ have a media ready to use?");
    // A value that itself holds "%s" is taken as it stands.
    EXPECT_EQ(FillPlaceholders(L"%s and %d, %s", {L"%s", L"7"}), L"%s and 7, %s");
}

// A long report shows its first 20 entries and how many more there are;
// its "Copy" button puts the whole report, every entry, on the clipboard.
TEST(ReportBox, ShowsTwentyEntriesAndCopiesTheWholeReport)
{
    LanguageGuard guard(0);
    std::vector<NotChangedItem> items;
    for (int i = 0; i < 25; ++i) items.push_back({L"C:\\f" + std::to_wstring(i) + L".txt", NotChanged::Held, L""});
    const ReportText text = RunReportText(MessageText(Msg::Failed), 3, items);
    EXPECT_NE(text.shown.find(L"\n   C:\\f19.txt  (held by another program)"), std::wstring::npos);
    EXPECT_EQ(text.shown.find(L"f20.txt"), std::wstring::npos);
    EXPECT_EQ(text.shown.substr(text.shown.rfind(L'\n') + 1), L"   ... and 5 more");
    EXPECT_NE(text.whole.find(L"\n   C:\\f24.txt  (held by another program)"), std::wstring::npos);

    std::wstring label, copied;
    ModalAnswerer answerer([&](HWND box) {
        wchar_t buffer[32] = {};
        GetDlgItemTextW(box, IDHELP, buffer, 32);
        label = buffer;
        SendMessageW(box, WM_COMMAND, IDHELP, 0);
        if (OpenClipboard(nullptr)) {
            HANDLE data = GetClipboardData(CF_UNICODETEXT);
            if (data) copied = static_cast<const wchar_t *>(GlobalLock(data));
            if (data) GlobalUnlock(data);
            CloseClipboard();
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ShowReport(nullptr, Msg::Failed, text);
    EXPECT_EQ(label, L"Copy");
    EXPECT_EQ(copied, text.whole);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, U(text.shown));
}

}  // namespace
