// Code pages and the validator that keeps edits inside one.

// standard
#include <cstdlib>
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/codepage.h"
#include "platform/codepagevalidator.h"

using namespace platform;

namespace {

const int allPages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

TEST(CodePage, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (int number : allPages) {
        SCOPED_TRACE(number);
        auto page = CodePage::windows(number);
        if (!page) {
            // The pages the programs use most must be there.
            EXPECT_TRUE(number != 1250 && number != 1251 && number != 1252);
            continue;
        }
        EXPECT_EQ(page->number(), number);
        const QString text = page->toUnicode(all);
        ASSERT_EQ(text.size(), 256);
        EXPECT_EQ(page->fromUnicode(text), all);
        for (QChar c : text)
            EXPECT_TRUE(page->canEncode(c.unicode())) << int(c.unicode());
    }
}

TEST(CodePage, MapsBytesToTheirCharacters)
{
    struct Row {
        int page;
        unsigned char byte;
        char16_t character;
    };
    const Row rows[] = {
        {1252, 0x41, u'A'},    {1252, 0x80, u'\u20AC'}, {1252, 0x81, u'\u0081'}, {1252, 0x8D, u'\u008D'},
        {1252, 0x9D, u'\u009D'}, {1252, 0xE9, u'\u00E9'}, {1251, 0xC0, u'\u0410'}, {1251, 0x88, u'\u20AC'},
        {1251, 0x98, u'\u0098'}, {1250, 0xA5, u'\u0104'}, {1253, 0xC1, u'\u0391'}, {1255, 0xE0, u'\u05D0'},
        {1258, 0xDE, u'\u0303'}, {874, 0xA1, u'\u0E01'},  {1252, 0x00, u'\0'},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.page) + " byte " + std::to_string(row.byte));
        auto page = CodePage::windows(row.page);
        ASSERT_TRUE(page);
        const std::string byte(1, static_cast<char>(row.byte));
        EXPECT_EQ(page->toUnicode(byte), QString(QChar(row.character)));
        EXPECT_EQ(page->fromUnicode(QString(QChar(row.character))), byte);
    }
}

TEST(CodePage, RefusesCharactersOutsideThePage)
{
    struct Row {
        int page;
        char16_t character;
    };
    for (const Row& row : {Row{1251, u'\u00E4'}, Row{1252, u'\u4E00'}, Row{1252, u'\u0410'}, Row{1250, char16_t(0xD83D)},
                           Row{1253, u'\u00C0'}}) {
        SCOPED_TRACE(std::to_string(row.page) + " U+" + std::to_string(row.character));
        auto page = CodePage::windows(row.page);
        ASSERT_TRUE(page);
        EXPECT_FALSE(page->canEncode(row.character));
        EXPECT_EQ(page->fromUnicode(QStringLiteral("ok") + QChar(row.character)), std::nullopt);
    }
    EXPECT_EQ(CodePage::windows(1252)->fromUnicode(QString()), std::string());
    EXPECT_FALSE(CodePage::windows(1200));
    EXPECT_FALSE(CodePage::windows(0));
}

TEST(CodePage, NumberForLocale)
{
    struct Row {
        const char* locale;
        int page;
    };
    const Row rows[] = {
        {"", 1252},           {"C", 1252},           {"POSIX", 1252},         {"C.UTF-8", 1252},
        {"de_DE", 1252},      {"en_US.UTF-8", 1252}, {"ru_RU.UTF-8", 1251},   {"RU_ru", 1251},
        {"uk_UA", 1251},      {"bg", 1251},          {"sr_RS", 1251},         {"sr_RS@latin", 1250},
        {"sr_RS.UTF-8@latin", 1250}, {"pl_PL", 1250}, {"cs_CZ.ISO-8859-2", 1250}, {"hu", 1250},
        {"el_GR", 1253},      {"tr_TR", 1254},       {"az_AZ", 1254},         {"he_IL", 1255},
        {"ar_EG", 1256},      {"fa_IR", 1256},       {"lt_LT", 1257},         {"et_EE", 1257},
        {"vi_VN", 1258},      {"th_TH", 874},        {"ru-RU", 1251},         {"rup_MK", 1252},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CodePage::numberForLocale(row.locale), row.page) << row.locale;
}

// The only test in this program that asks for the system page, so the
// variables set here are the ones it is built from.
TEST(CodePage, SystemFollowsTheFirstLocaleVariableSet)
{
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_CTYPE", "ru_RU.UTF-8", 1);
    ::setenv("LANG", "pl_PL.UTF-8", 1);
    EXPECT_EQ(CodePage::system().number(), 1251);
    EXPECT_EQ(&CodePage::system(), &CodePage::system());
}

TEST(CodePageValidator, RefusesTextTheCodePageCannotHold)
{
    const auto western = *CodePage::windows(1252);
    const auto cyrillic = *CodePage::windows(1251);
    CodePageValidator westernValidator(western);
    CodePageValidator cyrillicValidator(cyrillic);
    struct Row {
        QString text;
        QValidator::State western;
        QValidator::State cyrillic;
    };
    const Row rows[] = {
        {QString(), QValidator::Acceptable, QValidator::Acceptable},
        {QStringLiteral("Gr\u00FC\u00DFe \u20AC"), QValidator::Acceptable, QValidator::Invalid},
        {QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442"), QValidator::Invalid, QValidator::Acceptable},
        {QStringLiteral("plain ascii"), QValidator::Acceptable, QValidator::Acceptable},
        {QString::fromUtf8("smile \xF0\x9F\x99\x82"), QValidator::Invalid, QValidator::Invalid},
    };
    for (const auto& row : rows) {
        QString text = row.text;
        int pos = 0;
        EXPECT_EQ(westernValidator.validate(text, pos), row.western) << text.toStdString();
        EXPECT_EQ(cyrillicValidator.validate(text, pos), row.cyrillic) << text.toStdString();
        EXPECT_EQ(text, row.text);
    }
}

} // namespace
