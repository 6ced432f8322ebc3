// Code pages and the validator that keeps edits inside one.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/codepage.h"
#include "widgets/codepagevalidator.h"

using namespace platform;

namespace {

TEST(CodePage, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (int number : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        auto page = CodePage::windows(number);
        ASSERT_TRUE(page || (number != 1250 && number != 1251 && number != 1252)) << number;
        if (page) {
            EXPECT_EQ(page->number(), number);
            EXPECT_EQ(page->fromUnicode(page->toUnicode(all)), all) << number;
        }
    }
    EXPECT_FALSE(CodePage::windows(1200));
}

TEST(CodePage, MapsBytesToCharactersAndRefusesOthers)
{
    const std::tuple<int, unsigned char, char16_t> rows[] = {
        {1252, 0x80, u'\u20AC'}, {1252, 0x81, u'\u0081'}, {1252, 0x9D, u'\u009D'}, {1252, 0xE9, u'\u00E9'},
        {1251, 0xC0, u'\u0410'}, {1251, 0x98, u'\u0098'}, {1250, 0xA5, u'\u0104'}, {1253, 0xC1, u'\u0391'},
        {1255, 0xE0, u'\u05D0'}, {1258, 0xDE, u'\u0303'}, {874, 0xA1, u'\u0E01'},  {1252, 0x00, u'\0'},
    };
    for (const auto& [number, byte, character] : rows) {
        auto page = CodePage::windows(number);
        ASSERT_TRUE(page) << number;
        EXPECT_EQ(page->toUnicode(std::string(1, static_cast<char>(byte))), QString(QChar(character))) << number;
        EXPECT_EQ(page->fromUnicode(QString(QChar(character))), std::string(1, static_cast<char>(byte))) << number;
    }
    const std::pair<int, char16_t> outside[] = {{1251, u'\u00E4'}, {1252, u'\u4E00'}, {1250, char16_t(0xD83D)}};
    for (const auto& [number, character] : outside) {
        EXPECT_FALSE(CodePage::windows(number)->canEncode(character)) << number;
        EXPECT_EQ(CodePage::windows(number)->fromUnicode(QStringLiteral("ok") + QChar(character)), std::nullopt);
    }
}

TEST(CodePage, NumberForLocale)
{
    const std::pair<const char*, int> rows[] = {
        {"", 1252},          {"C", 1252},           {"POSIX", 1252},       {"en_US.UTF-8", 1252}, {"ru_RU.UTF-8", 1251},
        {"RU_ru", 1251},     {"sr_RS", 1251},       {"sr_RS@latin", 1250}, {"sr_RS.UTF-8@latin", 1250},
        {"pl_PL", 1250},     {"el_GR", 1253},       {"tr_TR", 1254},       {"he_IL", 1255},       {"fa_IR", 1256},
        {"lt_LT", 1257},     {"vi_VN", 1258},       {"th_TH", 874},        {"ru-RU", 1251},       {"rup_MK", 1252},
    };
    for (const auto& [locale, page] : rows)
        EXPECT_EQ(CodePage::numberForLocale(locale), page) << locale;
}

TEST(CodePageValidator, RefusesTextTheCodePageCannotHold)
{
    const auto western = *CodePage::windows(1252);
    widgets::CodePageValidator validator(western);
    const std::pair<QString, QValidator::State> rows[] = {
        {QString(), QValidator::Acceptable},
        {QStringLiteral("Gr\u00FC\u00DFe \u20AC"), QValidator::Acceptable},
        {QStringLiteral("\u041F\u0440\u0438"), QValidator::Invalid},
        {QString::fromUtf8("smile \xF0\x9F\x99\x82"), QValidator::Invalid},
    };
    for (auto [text, state] : rows) {
        int pos = 0;
        EXPECT_EQ(validator.validate(text, pos), state) << text.toStdString();
    }
}

} // namespace
