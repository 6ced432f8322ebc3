// The item texts as a PO file: the exact template written, every byte of
// every code page back through a translation, the forms gettext's tools
// write (strings over lines, escapes, comments, flags, obsolete entries, CR
// LF, a byte order mark), and each refusal word for word.

// standard
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/codepage.h"
#include "velloc/core/poentries.h"
#include "velloc/core/pofile.h"
#include "velloc/core/polexer.h"

using namespace velloc;

namespace {

platform::CodePage page(int number)
{
    auto page = platform::CodePage::windows(number);
    if (!page)
        throw std::runtime_error("no code page " + std::to_string(number));
    return *page;
}

const std::string kItemsHeader = "# Item texts of Itemdesc.edt, read in code page 1252, for translation.\n"
                                 "# Fill in each msgstr; entries left empty or marked fuzzy are not applied.\n"
                                 "# A line break \"\\n\" takes two of a field's characters. \u240D and \u240A stand "
                                 "for a lone\n"
                                 "# CR and a lone LF, \u2401 to \u241F for the other control characters.\n"
                                 "#, fuzzy\n"
                                 "msgid \"\"\n"
                                 "msgstr \"\"\n"
                                 "\"Project-Id-Version: Itemdesc.edt\\n\"\n"
                                 "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
                                 "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
                                 "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
                                 "\"Language: \\n\"\n"
                                 "\"MIME-Version: 1.0\\n\"\n"
                                 "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                                 "\"Content-Transfer-Encoding: 8bit\\n\"\n"
                                 "\"X-Varnhold-Layout: Itemdesc\\n\"\n"
                                 "\"X-Varnhold-Code-Page: 1252\\n\"\n";

/// A header as a translator's tool leaves it, for the given layout.
std::string header(const char* layout = "Itemdesc", const char* charset = "UTF-8")
{
    return std::string("msgid \"\"\nmsgstr \"\"\n\"Language: de\\n\"\n\"Content-Type: text/plain; charset=") + charset +
           "\\n\"\n\"X-Varnhold-Layout: " + layout + "\\n\"\n\"X-Varnhold-Code-Page: 1252\\n\"\n";
}

ItemTexts sampleTexts()
{
    ItemTexts texts;
    texts.shortNames[7] = "Knife";
    texts.fullNames[7] = "Combat knife";
    texts.descriptions[7] = "Sharp.\r\nVery sharp.";
    texts.shortNames[8] = std::string(80, 'F'); // a whole field, held without an end marker
    return texts;
}

platform::Result<ItemTexts> applyText(const std::string& po, const ItemTexts& current, int codePage = 1252)
{
    auto parsed = parsePoFile(po, "t.po");
    if (!parsed)
        return parsed.status();
    return applyPoFile(*parsed, current, page(codePage), "t.po");
}

/// The reason of a refusal, or "accepted".
std::string refusalOf(const std::string& po, const ItemTexts& current = sampleTexts(), int codePage = 1252)
{
    auto applied = applyText(po, current, codePage);
    return applied ? "accepted" : applied.reason();
}

TEST(PoFile, TemplateIsExactWithGettextEscapesAndSymbolsForControlBytes)
{
    ItemTexts texts;
    texts.shortNames[0] = "Knife";
    texts.fullNames[0] = "Combat \"knife\"";
    texts.descriptions[0] = "Line one\r\nLine two\\ \x01\ttab";
    texts.descriptions[2] = "cr\rlf\n\xE9\x07\r\n";
    texts.shortNames[350] = "Last";
    EXPECT_EQ(poTemplate(texts, page(1252)), kItemsHeader + "\n#. at most 79 characters\n"
                                                            "msgctxt \"item 0 short name\"\n"
                                                            "msgid \"Knife\"\n"
                                                            "msgstr \"\"\n"
                                                            "\n#. at most 79 characters\n"
                                                            "msgctxt \"item 0 full name\"\n"
                                                            "msgid \"Combat \\\"knife\\\"\"\n"
                                                            "msgstr \"\"\n"
                                                            "\n#. at most 239 characters\n"
                                                            "msgctxt \"item 0 description\"\n"
                                                            "msgid \"\"\n"
                                                            "\"Line one\\n\"\n"
                                                            "\"Line two\\\\ \u2401\\ttab\"\n"
                                                            "msgstr \"\"\n"
                                                            "\n#. at most 239 characters\n"
                                                            "msgctxt \"item 2 description\"\n"
                                                            "msgid \"cr\u240Dlf\u240A\u00E9\u2407\\n\"\n"
                                                            "msgstr \"\"\n"
                                                            "\n#. at most 79 characters\n"
                                                            "msgctxt \"item 350 short name\"\n"
                                                            "msgid \"Last\"\n"
                                                            "msgstr \"\"\n");

    ItemTexts bray;
    bray.fileType = FileType::BobbyRay;
    bray.shortNames[3] = "\xC6\xEE\xEB";     // 1251: Cyrillic
    bray.fullNames[3] = "not of this layout"; // never written
    const std::string po = poTemplate(bray, page(1251));
    EXPECT_NE(po.find("\"X-Varnhold-Layout: Braydesc\\n\"\n\"X-Varnhold-Code-Page: 1251\\n\"\n"), std::string::npos);
    EXPECT_NE(po.find("\n#. at most 79 characters\nmsgctxt \"item 3 name\"\nmsgid \"\u0416\u043E\u043B\"\nmsgstr \"\"\n"),
              std::string::npos);
    EXPECT_EQ(po.find("not of this layout"), std::string::npos);
}

TEST(PoFile, EveryByteOfEveryCodePageComesBackThroughATranslation)
{
    for (int number : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        SCOPED_TRACE(number);
        const platform::CodePage cp = page(number);
        // Every byte a text can hold (1..254 but 31, which reads back as a
        // space), with line breaks of each kind next to one another, in both
        // layouts.
        for (FileType type : {FileType::Items, FileType::BobbyRay}) {
            ItemTexts texts;
            texts.fileType = type;
            for (int b = 1; b < 255; ++b)
                texts.descriptions[b] = b == 31 ? "x" : "x" + std::string(1, static_cast<char>(b)) + "\r\n\n\r\r\n\ry";
            texts.shortNames[0] = "\r\n";
            auto po = parsePoFile(poTemplate(texts, cp), "t.po");
            ASSERT_TRUE(po) << po.error();
            EXPECT_EQ(po->type, type);
            EXPECT_EQ(po->codePage, number);
            ASSERT_EQ(po->entries.size(), 255u);
            // The translator types each text anew (not the same bytes as the
            // msgid's, so the apply really writes it).
            ItemTexts blank = texts;
            for (PoEntry& entry : po->entries)
                entry.msgstr = entry.msgid;
            blank.descriptions = {};
            blank.shortNames[0].clear();
            for (PoEntry& entry : po->entries)
                entry.msgid.clear();
            auto applied = applyPoFile(*po, blank, cp, "t.po");
            ASSERT_TRUE(applied) << applied.error();
            EXPECT_TRUE(*applied == texts);
        }
    }
}

TEST(PoFile, ReadsWhatGettextToolsAndTranslatorsWrite)
{
    // CR LF line ends and a byte order mark; comments of every kind; a
    // flag line of several flags; strings over several lines and several
    // strings on a line; octal and hex escapes; "\r\n" as a line break; an
    // obsolete fuzzy entry whose flag is not passed on; an untranslated and
    // a fuzzy entry, which change nothing.
    std::string po = "\xEF\xBB\xBF# translator's note\n" + header() +
                     "\n"
                     "# a comment\n"
                     "#. at most 79 characters\n"
                     "#: somewhere:1\n"
                     "#, no-c-format, wrap\n"
                     "#| msgid \"Knive\"\n"
                     "msgctxt \"item 7 short name\"\n"
                     "msgid \"Kni\" \"fe\"\n"
                     "msgstr \"\"\n"
                     "\"Mes\"\n"
                     "  \"ser \\101\\x42\\x7a\"\n"
                     "\n"
                     "#~ #, fuzzy\n"
                     "#, fuzzy\n"
                     "#~ msgctxt \"item 7 full name\"\n"
                     "#~ msgid \"Combat knife\"\n"
                     "#~ msgstr \"Kampfmesser alt\"\n"
                     "\n"
                     "msgctxt \"item 7 description\"\n"
                     "msgid \"\"\n"
                     "\"Sharp.\\n\"\n"
                     "\"Very sharp.\"\n"
                     "msgstr \"Scharf.\\r\\nSehr\\rscharf.\\n\\u00e9\"\n";
    // \u is no escape of a PO file: fix that line, then check the rest.
    EXPECT_EQ(refusalOf(po), "The PO file is malformed: line 30: the escape \\u is not one of a PO file. Nothing "
                             "was written.");
    po.replace(po.find("\\u00e9"), 6, "\xC3\xA9");
    po += "\n#, fuzzy\nmsgctxt \"item 7 full name\"\nmsgid \"Combat knife\"\nmsgstr \"Kampfmesser\"\n"
          "\nmsgctxt \"item 8 short name\"\nmsgid \"" + std::string(80, 'F') + "\"\nmsgstr \"\"\n";
    std::string crlf;
    for (char c : po)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    for (const std::string& text : {po, crlf}) {
        auto applied = applyText(text, sampleTexts());
        ASSERT_TRUE(applied) << applied.error();
        ItemTexts expected = sampleTexts();
        expected.shortNames[7] = "Messer ABz";
        expected.descriptions[7] = "Scharf.\r\nSehr\rscharf.\r\n\xE9";
        EXPECT_TRUE(*applied == expected);
    }

    // A whole field's own text given back as its translation changes nothing
    // and is accepted; any other text of that length is not.
    const std::string full = header() + "msgctxt \"item 8 short name\"\nmsgid \"" + std::string(80, 'F') +
                             "\"\nmsgstr \"" + std::string(80, 'F') + "\"\n";
    EXPECT_EQ(refusalOf(full), "accepted");
    EXPECT_EQ(refusalOf(header() + "msgctxt \"item 8 short name\"\nmsgid \"" + std::string(80, 'F') + "\"\nmsgstr \"" +
                        std::string(80, 'G') + "\"\n"),
              "line 7, entry \"item 8 short name\": the translation is 80 characters long; at most 79 fit. Nothing "
              "was written.");
}

TEST(PoFile, MalformedFilesAreRefusedNamingTheLine)
{
    struct Case {
        std::string body;
        std::string reason;
    };
    const std::string entry = "msgctxt \"item 7 short name\"\nmsgid \"Knife\"\n";
    const Case cases[] = {
        {entry + "msgstr \"open\n", "line 9: a string is not closed"},
        {entry + "msgstr \"a\\\"\n", "line 9: a string is not closed"},
        {entry + "msgstr\n", "line 9: a keyword is not followed by a string in double quotes"},
        {entry + "msgstr \"a\" b\n", "line 9: there is more than strings after the keyword"},
        {entry + "msgstr \"\\x\"\n", "line 9: the escape \\x has no hex digits"},
        {entry + "msgstr \"\\400\"\n", "line 9: an escape stands for a value above 255"},
        {entry + "msgstr \"\\x100\"\n", "line 9: an escape stands for a value above 255"},
        {entry + "msgstr \"\\q\"\n", "line 9: the escape \\q is not one of a PO file"},
        {"# note\n\"stray\"\n", "line 8: a string continues no keyword"},
        {entry + "msgstr \"\"\nmsgstr \"\"\n", "line 10: \"msgstr\" does not follow a msgid"},
        {"msgctxt \"item 7 short name\"\nmsgctxt \"x\"\nmsgid \"\"\nmsgstr \"\"\n",
         "line 8: \"msgctxt\" comes before the msgstr of the entry on line 7"},
        {entry + "msgid \"again\"\nmsgstr \"\"\n", "line 9: \"msgid\" comes before the msgstr of the entry on line 7"},
        {entry, "line 7: the entry has no msgstr"},
        {entry + "msgid_plural \"Knives\"\nmsgstr \"M\"\n",
         "line 10: the msgstr of a plural entry has no index (msgstr[0])"},
        {entry + "msgstr[0] \"M\"\n", "line 9: \"msgstr[0]\" is in an entry without msgid_plural"},
        {entry + "msgid_plural \"Knives\"\nmsgstr[x] \"M\"\n", "line 10: the index of \"msgstr[x]\" is not a number"},
        {entry + "msgstr \"\"\nmsgsrt \"\"\n", "line 10: the line starts with \"msgsrt\", which is no keyword of a PO file"},
        {entry + "msgstr \"\\xff\"\n", "line 7: the entry's text is not UTF-8"},
        {entry + "msgstr \"\xED\xA0\x80\"\n", "line 7: the entry's text is not UTF-8"}, // a surrogate
        {entry + "msgstr \"\"\n\n" + entry + "msgstr \"\"\n",
         "line 11: the entry \"item 7 short name\" is there twice (also on line 7)"},
        {entry + "msgstr \"\"\n\nmsgid \"\"\nmsgstr \"\"\n", "line 11: the file has a second header (the first is on "
                                                             "line 1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(refusalOf(header() + c.body), "The PO file is malformed: " + c.reason + ". Nothing was written.");
    }
    // The whole message names the file, for a window or a log.
    auto parsed = parsePoFile(header() + entry, "/x/t.po");
    EXPECT_EQ(parsed.message().lines(),
              (std::vector<std::string>{"Could not apply /x/t.po:",
                                        "The PO file is malformed: line 7: the entry has no msgstr.",
                                        "Nothing was written."}));
    EXPECT_EQ(parsed.path(), "/x/t.po");

    EXPECT_EQ(refusalOf(entry + "msgstr \"\"\n"), "The PO file has no header (the entry with an empty msgid) to say "
                                                   "which item file its texts are of. Nothing was written.");
    EXPECT_EQ(refusalOf("msgid \"\"\nmsgstr \"Language: de\\n\"\n"),
              "line 1: the header does not say which item file the texts are of (X-Varnhold-Layout: Itemdesc or "
              "Braydesc). Nothing was written.");
    EXPECT_EQ(refusalOf(header("Namesdef")), "line 1: the header's X-Varnhold-Layout is \"Namesdef\"; it is Itemdesc "
                                             "or Braydesc. Nothing was written.");
    EXPECT_EQ(refusalOf(header("Itemdesc", "CP1251")),
              "line 1: the PO file is in the charset \"CP1251\"; only UTF-8 is read (msgconv --to-code=UTF-8 "
              "converts it). Nothing was written.");
}

TEST(PoFile, EntriesThatDoNotMatchTheFileAreRefusedNamingTheEntry)
{
    auto one = [](const std::string& context, const std::string& msgid, const std::string& msgstr,
                  const char* layout = "Itemdesc") {
        return header(layout) + "\nmsgctxt \"" + context + "\"\nmsgid \"" + msgid + "\"\nmsgstr \"" + msgstr + "\"\n";
    };
    const std::string names = ".edt (\"item N field\", N from 0 to 350). Nothing was written.";
    EXPECT_EQ(refusalOf(one("item 351 short name", "", "")),
              "line 8, entry \"item 351 short name\": the context names no item and field of Itemdesc" + names);
    EXPECT_EQ(refusalOf(one("item 07 short name", "Knife", "")),
              "line 8, entry \"item 07 short name\": the context names no item and field of Itemdesc" + names);
    ItemTexts bray = sampleTexts();
    bray.fileType = FileType::BobbyRay;
    EXPECT_EQ(refusalOf(one("item 7 full name", "Combat knife", "x", "Braydesc"), bray),
              "line 8, entry \"item 7 full name\": the context names no item and field of Braydesc" + names);
    EXPECT_EQ(refusalOf(one("item 7 name", "Knife", "Messer", "Braydesc"), bray), "accepted");
    EXPECT_EQ(refusalOf(header() + "\nmsgid \"Knife\"\nmsgstr \"Messer\"\n"),
              "line 8: the entry \"Knife\" has no msgctxt, so it names no item and field. Nothing was written.");
    EXPECT_EQ(refusalOf(header() + "\nmsgctxt \"item 7 short name\"\nmsgid \"Knife\"\nmsgid_plural \"Knives\"\n"
                                   "msgstr[0] \"\"\nmsgstr[1] \"\"\n"),
              "line 8, entry \"item 7 short name\": a plural entry (msgid_plural); item texts have no plural forms. "
              "Nothing was written.");

    // The msgid must be the file's text as it is now; untranslated and fuzzy
    // entries are not checked, as msgmerge leaves outdated ones fuzzy.
    const std::string outdated = "line 8, entry \"item 7 short name\": its msgid is not the text the item file holds, "
                                 "so the translation was made for other texts.";
    EXPECT_EQ(refusalOf(one("item 7 short name", "Knive", "Messer")), outdated + " Nothing was written.");
    EXPECT_EQ(refusalOf(one("item 7 short name", "Knive", "")), "accepted");
    // A field that holds the translation already: the same PO applied again.
    EXPECT_EQ(refusalOf(one("item 7 short name", "Messer", "Knife")), "accepted");
    EXPECT_EQ(refusalOf(header() + "\n#, fuzzy\nmsgctxt \"item 7 short name\"\nmsgid \"Knive\"\nmsgstr \"M\"\n"),
              "accepted");

    // A character the code page cannot write, by its code point; and the
    // likely cause when the PO file was made in another code page.
    EXPECT_EQ(refusalOf(one("item 7 short name", "Knife", "\xD0\x9D\xD0\xBE\xD0\xB6")), // Cyrillic
              "line 8, entry \"item 7 short name\": the translation holds the character U+041D, which code page 1252 "
              "cannot write. Nothing was written.");
    EXPECT_EQ(refusalOf(one("item 7 short name", "Knife", "\xF0\x9F\x94\xAA")),
              "line 8, entry \"item 7 short name\": the translation holds the character U+1F52A, which code page "
              "1252 cannot write. Nothing was written.");
    EXPECT_EQ(refusalOf(one("item 7 short name", "Knife", "\xD0\x9D"), sampleTexts(), 1250),
              "line 8, entry \"item 7 short name\": the translation holds the character U+041D, which code page 1250 "
              "cannot write. The texts are read in code page 1250; the PO file was made from texts in code page "
              "1252 (--codepage 1252). Nothing was written.");
    EXPECT_EQ(refusalOf(one("item 7 short name", "Kn\xC3\xA9", "M"), sampleTexts(), 1251),
              outdated + " The texts are read in code page 1251; the PO file was made from texts in code page 1252 "
                         "(--codepage 1252). Nothing was written.");

    // The field's fit is the codec's rule: length (a line break counts two)
    // and the one byte no field stores. The first entry by line is named.
    std::string breaks;
    for (int i = 0; i < 40; ++i)
        breaks += "\\n";
    const std::string tooLong = header() + "\nmsgctxt \"item 7 short name\"\nmsgid \"Knife\"\nmsgstr \"" +
                                std::string(39, 'a') + breaks + "\"\n" +
                                "\nmsgctxt \"item 0 short name\"\nmsgid \"\"\nmsgstr \"" + std::string(80, 'b') +
                                "\"\n" + "\nmsgctxt \"item 1 short name\"\nmsgid \"\"\nmsgstr \"\xC3\xBF\"\n";
    EXPECT_EQ(refusalOf(tooLong), "line 8, entry \"item 7 short name\": the translation is 119 characters long; at "
                                  "most 79 fit. 2 more translations do not fit either. Nothing was written.");
    EXPECT_EQ(refusalOf(header() + "\nmsgctxt \"item 1 short name\"\nmsgid \"\"\nmsgstr \"a\xC3\xBF\"\n"),
              "line 8, entry \"item 1 short name\": the translation holds a character that the file cannot store "
              "(code 255). Nothing was written.");
    EXPECT_EQ(refusalOf(header() + "\nmsgctxt \"item 1 short name\"\nmsgid \"\"\nmsgstr \"Glock\x1FX\"\n"),
              "line 8, entry \"item 1 short name\": the translation holds a character that the file cannot store "
              "(code 31). Nothing was written.");
    EXPECT_EQ(refusalOf(header() + "\nmsgctxt \"item 7 short name\"\nmsgid \"Knife\"\nmsgstr \"" +
                        std::string(79, 'a') + "\"\n"),
              "accepted");
}

// The first two steps of the reading on their own: the lexer's lines, and
// the entry reader, which refuses a line out of its place before the
// lexer's complaint about its strings.
TEST(PoFile, TheLexerGivesLinesAndTheEntryReaderPutsThemInOrder)
{
    const std::string text = "\xEF\xBB\xBF# comment\r\n"
                             "\n"
                             "  #, c-format, fuzzy\n"
                             "#~ msgid \"old\"\n"
                             "msgid \"a\\tb\" \"c\"\r\n"
                             "\t\"\\x41\"\n"
                             "msgstr \"\n";
    PoLexer lexer(text);
    std::vector<PoLine> lines;
    while (auto line = lexer.next())
        lines.push_back(*line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].kind, PoLine::Kind::Comment);
    EXPECT_EQ(lines[0].number, 1u);
    EXPECT_EQ(lines[1].kind, PoLine::Kind::Flags);
    EXPECT_EQ(lines[1].number, 3u);
    EXPECT_TRUE(lines[1].fuzzy);
    EXPECT_EQ(lines[2].kind, PoLine::Kind::Obsolete);
    EXPECT_EQ(lines[3].kind, PoLine::Kind::Keyword);
    EXPECT_EQ(lines[3].keyword, "msgid");
    EXPECT_EQ(lines[3].strings, "a\tbc");
    EXPECT_EQ(lines[3].stringError, std::nullopt);
    EXPECT_EQ(lines[4].kind, PoLine::Kind::Strings);
    EXPECT_EQ(lines[4].strings, "A");
    EXPECT_EQ(lines[5].keyword, "msgstr");
    EXPECT_EQ(lines[5].stringError, "a string is not closed");

    // The flags before an obsolete line are dropped; the strings continue
    // the msgid; the unclosed msgstr is refused where it stands.
    PoEntryReader reader;
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(reader.take(lines[i]), std::nullopt) << i;
    const auto unclosed = reader.take(lines[5]);
    ASSERT_TRUE(unclosed);
    EXPECT_EQ(unclosed->line, 7u);
    EXPECT_EQ(unclosed->what, "a string is not closed");

    // A line out of its place says so, whatever its strings hold.
    PoEntryReader early;
    PoLexer stray("\"never closed\n");
    const auto strayError = early.take(*stray.next());
    ASSERT_TRUE(strayError);
    EXPECT_EQ(strayError->what, "a string continues no keyword");
    PoEntryReader twice;
    PoLexer msgstrs("msgid \"x\"\nmsgstr \"y\"\nmsgstr \"z\n");
    EXPECT_EQ(twice.take(*msgstrs.next()), std::nullopt);
    EXPECT_EQ(twice.take(*msgstrs.next()), std::nullopt);
    EXPECT_EQ(twice.take(*msgstrs.next())->what, "\"msgstr\" does not follow a msgid");

    // The end of the file: a complete entry is kept, an open one refused.
    PoEntryReader complete;
    PoLexer one("msgctxt \"item 1 short name\"\nmsgid \"Knife\"\nmsgstr \"\"\n");
    while (auto line = one.next())
        ASSERT_EQ(complete.take(*line), std::nullopt);
    EXPECT_EQ(complete.finish(), std::nullopt);
    const std::vector<PoEntry> entries = complete.takeEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].line, 1u);
    EXPECT_EQ(entries[0].context, "item 1 short name");
    EXPECT_EQ(entries[0].msgid, "Knife");
    PoEntryReader open;
    PoLexer half("msgid \"Knife\"\n");
    ASSERT_EQ(open.take(*half.next()), std::nullopt);
    EXPECT_EQ(open.finish()->what, "the entry has no msgstr");
}

} // namespace
