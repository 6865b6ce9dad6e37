#include <gtest/gtest.h>

#include <string>

#include "language.h"
#include "messages.h"
#include "modal_answerer.h"

namespace {

struct LanguageGuard {
    explicit LanguageGuard(int mode) : saved(g_japaneseMode) { g_japaneseMode = mode; }
    ~LanguageGuard() { g_japaneseMode = saved; }
    int saved;
};

// The printf conversions of a text, in order ("%s%d").
std::string Conversions(const char *text)
{
    std::string out;
    for (const char *p = text; *p; ++p) {
        if (*p != '%') continue;
        // Shift-JIS trail bytes never equal '%', so this scan is safe on both languages.
        out += p[0];
        out += p[1];
        ++p;
    }
    return out;
}

TEST(MessageTable, EveryMessageHasBothLanguagesWithTheSameConversions)
{
    for (int i = 0; i < static_cast<int>(Msg::Count); ++i) {
        Msg id = static_cast<Msg>(i);
        std::string english, japanese, englishCaption, japaneseCaption;
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
        EXPECT_EQ(Conversions(english.c_str()), Conversions(japanese.c_str())) << i;
    }
}

TEST(MessageTable, JapaneseTextsAreShiftJis)
{
    LanguageGuard guard(1);
    // "エラー" in Shift-JIS.
    EXPECT_EQ(std::string(MessageCaption(Msg::NoFileInList)), "\x83\x47\x83\x89\x81\x5b");
}

TEST(MessageBoxes, ShowTheTextAndCaptionOfTheLanguage)
{
    LanguageGuard guard(0);
    ModalAnswerer answerer({IDOK});
    ShowMessage(nullptr, Msg::NoFileSelected);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Error");
    EXPECT_EQ(answerer.Seen()[0].text, "No file selected.");
    EXPECT_EQ(answerer.Seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
}

TEST(MessageBoxes, FormattedTextsCarryTheirArgumentsAndQuestionsReturnTheAnswer)
{
    LanguageGuard guard(0);
    ModalAnswerer answerer({IDNO});
    int answer = ShowMessageFormatted(nullptr, Msg::MediaQuestion, "K:\\");
    EXPECT_EQ(answer, IDNO);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "CAUTION");
    EXPECT_EQ(answerer.Seen()[0].text, "Does the drive K:\\ have a media ready to use?");
}

}  // namespace
