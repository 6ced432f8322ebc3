// Item texts through PO files and GNU gettext's own tools: the template
// passes msgfmt --check, a translation filled in with msginit, msgattrib,
// msgmerge and by hand applies byte for byte, a Cyrillic translation in code
// page 1251 reads back the same, and every refusal writes nothing. The tests
// that run gettext's tools skip where they are not installed (under Wine).

// standard
#include <cctype>
#include <optional>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Qt
#include <QProcess>
#include <QStandardPaths>

// ours
#include "platform/codepage.h"
#include "platform/nativefilesystem.h"
#include "tests/cli/clirun.h"

namespace {

using clitest::Cli;
using clitest::Outcome;
using clitest::putText;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::writeFile;

/// Runs one of gettext's programs; std::nullopt when it is not installed.
std::optional<Outcome> gettext(const char* program, const std::vector<std::string>& args, const std::string& folder)
{
    const QString path = QStandardPaths::findExecutable(QString::fromUtf8(program));
    if (path.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProgram(path);
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    process.setArguments(list);
    process.setWorkingDirectory(QString::fromStdString(folder));
    process.start();
    Outcome run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program << " did not run to its end";
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

bool haveGettext()
{
    for (const char* tool : {"msgfmt", "msginit", "msgattrib", "msgmerge"})
        if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
            return false;
    return true;
}

/// msgfmt --check passed the file: it exits 0, and says nothing but that
/// header fields still hold the placeholders a template has until a
/// translator's tool fills them in.
void expectMsgfmtPasses(const std::string& file, const std::string& folder)
{
    const auto run = gettext("msgfmt", {"--check", "-o", "-", file}, folder);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->status, 0) << run->err;
    for (std::size_t start = 0; start < run->err.size();) {
        const std::size_t end = run->err.find('\n', start);
        const std::string line = run->err.substr(start, end - start);
        EXPECT_NE(line.find("' still has the initial default value"), std::string::npos) << line;
        start = end == std::string::npos ? run->err.size() : end + 1;
    }
}

/// Fills in the msgstr of the entry of this context (the first msgstr "" after
/// it), as a translator does in an editor.
void translate(std::string& po, const std::string& context, const std::string& msgstr)
{
    const std::size_t at = po.find("msgctxt \"" + context + "\"\n");
    ASSERT_NE(at, std::string::npos) << context;
    const std::size_t empty = po.find("msgstr \"\"\n", at);
    ASSERT_NE(empty, std::string::npos) << context;
    po.replace(empty, 10, "msgstr \"" + msgstr + "\"\n");
}

/// The number of the line on which `needle` starts.
std::size_t lineOf(const std::string& text, const std::string& needle)
{
    const std::size_t at = text.find(needle);
    EXPECT_NE(at, std::string::npos) << needle;
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

class CliPo : public Cli {
protected:
    CliPo()
    {
        // Texts of every kind of line break, control bytes, escapes and a
        // field filled to its last unit, beside the demo's texts.
        original = readFile(f("Itemdesc.edt"));
        putText(original, 1, 320, 240,
                "Quote \" back\\slash\ttab\x01 lone CR\rlone LF\nLF CR\n\rCR LF\r\n\xE9t\xE9\x07");
        putText(original, 4, 0, 80, std::string(79, 'F') + "!");
        putText(original, 7, 0, 80, "Knife");
        putText(original, 7, 160, 80, "Combat knife");
        writeFile(f("Itemdesc.edt"), original);
    }
    bool backupExists() { return files.isFile(f("Itemdesc.edt.bak")); }

    std::string original;
    platform::NativeFileSystem files;
};

TEST_F(CliPo, TemplatePassesMsgfmtAndATranslationFilledInWithGettextAppliesByteForByte)
{
    if (!haveGettext())
        GTEST_SKIP() << "gettext's tools are not installed";
    const Outcome exported = varnhold({"items-export", "--po", "--itemdesc", "--codepage", "1252", f("Itemdesc.edt"),
                                       f("items.pot")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(exported.out.empty() && exported.err.empty());
    expectMsgfmtPasses("items.pot", dir.path());

    // A German translation begun with msginit: two entries translated by
    // hand (one of them over three lines, with a lone CR and a control byte
    // in symbols), a third translated but marked fuzzy with msgattrib, and
    // the rest left untranslated.
    const auto init =
        gettext("msginit", {"--no-translator", "--locale=de_DE.UTF-8", "-i", "items.pot", "-o", "de.po"}, dir.path());
    ASSERT_TRUE(init);
    ASSERT_EQ(init->status, 0) << init->err;
    std::string de = readFile(f("de.po"));
    translate(de, "item 7 short name", "Messer");
    translate(de, "item 1 description", "Zeile eins\\nZeile \\\"zwei\\\"\u240Ddrei\u2401");
    translate(de, "item 7 full name", "Kampfmesser");
    writeFile(f("de.po"), de);
    writeFile(f("only.po"), "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                            "msgctxt \"item 7 full name\"\nmsgid \"Combat knife\"\nmsgstr \"\"\n");
    const auto fuzzy =
        gettext("msgattrib", {"--set-fuzzy", "--only-file=only.po", "-o", "de-fuzzy.po", "de.po"}, dir.path());
    ASSERT_TRUE(fuzzy);
    ASSERT_EQ(fuzzy->status, 0) << fuzzy->err;
    ASSERT_NE(readFile(f("de-fuzzy.po")).find("#, fuzzy\nmsgctxt \"item 7 full name\""), std::string::npos);
    expectMsgfmtPasses("de-fuzzy.po", dir.path());
    const auto stats = gettext("msgfmt", {"--statistics", "-o", "-", "de-fuzzy.po"}, dir.path());
    ASSERT_TRUE(stats);
    EXPECT_NE(stats->err.find("2 translated messages, 1 fuzzy translation"), std::string::npos) << stats->err;

    const Outcome applied = varnhold({"items-apply", f("de-fuzzy.po"), f("Itemdesc.edt"), "--codepage=1252"});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(applied.out.empty() && applied.err.empty());
    std::string expected = original;
    putText(expected, 7, 0, 80, "Messer");
    putText(expected, 1, 320, 240, "Zeile eins\r\nZeile \"zwei\"\rdrei\x01");
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == expected) << "only the two translated fields change";
    EXPECT_TRUE(readFile(f("Itemdesc.edt.bak")) == original);
    // Run again, as a script may, it finds its translations in place.
    const Outcome again = varnhold({"items-apply", f("de-fuzzy.po"), f("Itemdesc.edt"), "--codepage=1252"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == expected);
}

TEST_F(CliPo, ATranslationOfTextsThatHaveChangedIsRefusedAndMsgmergeMarksItFuzzy)
{
    if (!haveGettext())
        GTEST_SKIP() << "gettext's tools are not installed";
    // (msgmerge matches texts of a few letters to no other: a longer one.)
    putText(original, 7, 320, 240, "A combat knife with a serrated edge.");
    writeFile(f("Itemdesc.edt"), original);
    ASSERT_EQ(varnhold({"items-export", "--po", "--itemdesc", f("Itemdesc.edt"), f("old.pot")}).status, 0);
    const auto init = gettext("msginit", {"--no-translator", "--locale=de", "-i", "old.pot", "-o", "de.po"}, dir.path());
    ASSERT_TRUE(init);
    ASSERT_EQ(init->status, 0) << init->err;
    std::string de = readFile(f("de.po"));
    translate(de, "item 7 description", "Ein Kampfmesser mit Wellenschliff.");
    writeFile(f("de.po"), de);

    // The game file's text changes after the translation was made.
    std::string changed = original;
    putText(changed, 7, 320, 240, "A combat knife with a serrated blade.");
    writeFile(f("Itemdesc.edt"), changed);
    const Outcome refused = varnhold({"items-apply", f("de.po"), f("Itemdesc.edt")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "varnhold: " + f("de.po") + ": Line " +
                               std::to_string(lineOf(de, "msgctxt \"item 7 description\"")) +
                               ", entry \"item 7 description\": its msgid is not the text the item file holds, so the "
                               "translation was made for other texts. Nothing was written.\n");
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == changed);
    EXPECT_FALSE(backupExists());

    // Merged with the new template, the translation is kept as fuzzy, with
    // its old msgid, and is then passed over.
    ASSERT_EQ(varnhold({"items-export", "--po", "--itemdesc", f("Itemdesc.edt"), f("new.pot")}).status, 0);
    const auto merged = gettext("msgmerge", {"--quiet", "--previous", "-o", "merged.po", "de.po", "new.pot"}, dir.path());
    ASSERT_TRUE(merged);
    ASSERT_EQ(merged->status, 0) << merged->err;
    const std::string mergedText = readFile(f("merged.po"));
    EXPECT_NE(mergedText.find("#, fuzzy\n#| msgctxt \"item 7 description\"\n#| msgid \"A combat knife with a serrated edge.\"\n"
                              "msgctxt \"item 7 description\"\nmsgid \"A combat knife with a serrated blade.\"\n"
                              "msgstr \"Ein Kampfmesser mit Wellenschliff.\"\n"),
              std::string::npos)
        << mergedText.substr(mergedText.find("item 7 description") - 200, 500);
    const Outcome applied = varnhold({"items-apply", f("merged.po"), f("Itemdesc.edt")});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == changed);
}

TEST_F(CliPo, ACyrillicTranslationIn1251ReadsBackTheSameAndEveryByteComesBack)
{
    ASSERT_EQ(varnhold({"items-export", "--braydesc", "--po", "--codepage", "1251", f("Braydesc.edt"), f("ru.po")})
                  .status,
              0);
    std::string ru = readFile(f("ru.po"));
    EXPECT_NE(ru.find("\"X-Varnhold-Layout: Braydesc\\n\"\n\"X-Varnhold-Code-Page: 1251\\n\"\n"), std::string::npos);
    const std::string name = "\u041D\u043E\u0436 \u00AB\u0411\u0435\u0440\u0435\u0442\u0442\u0430\u00BB"; // Нож «Беретта»
    const std::string description = "\u041E\u0441\u0442\u0440\u044B\u0439.\\n\u041E\u0447\u0435\u043D\u044C "
                                     "\u043E\u0441\u0442\u0440\u044B\u0439 \u2116 1.";
    translate(ru, "item 3 name", name);
    translate(ru, "item 3 description", description);
    writeFile(f("ru.po"), ru);
    const std::string before = readFile(f("Braydesc.edt"));

    // Read in another page, the letters cannot be written, and the refusal
    // says which page the PO file was made in.
    const Outcome in1250 = varnhold({"items-apply", "--codepage", "1250", f("ru.po"), f("Braydesc.edt")});
    EXPECT_EQ(in1250.status, 1);
    EXPECT_EQ(in1250.err, "varnhold: " + f("ru.po") + ": Line " + std::to_string(lineOf(ru, "msgctxt \"item 3 name\"")) +
                              ", entry \"item 3 name\": the translation holds the character U+041D, which code page "
                              "1250 cannot write. The texts are read in code page 1250; the PO file was made from "
                              "texts in code page 1251 (--codepage 1251). Nothing was written.\n");
    EXPECT_TRUE(readFile(f("Braydesc.edt")) == before);

    const Outcome applied = varnhold({"items-apply", "--codepage", "1251", f("ru.po"), f("Braydesc.edt")});
    ASSERT_EQ(applied.status, 0) << applied.err;
    std::string expected = before;
    putText(expected, 3, 0, 80, "\xCD\xEE\xE6 \xAB\xC1\xE5\xF0\xE5\xF2\xF2\xE0\xBB");
    putText(expected, 3, 160, 320, "\xCE\xF1\xF2\xF0\xFB\xE9.\r\n\xCE\xF7\xE5\xED\xFC \xEE\xF1\xF2\xF0\xFB\xE9 \xB9 1.");
    EXPECT_TRUE(readFile(f("Braydesc.edt")) == expected);

    ASSERT_EQ(varnhold({"items-export", "--braydesc", "--po", "--codepage=1251", f("Braydesc.edt"), f("again.po")})
                  .status,
              0);
    const std::string again = readFile(f("again.po"));
    EXPECT_NE(again.find("msgctxt \"item 3 name\"\nmsgid \"" + name + "\"\n"), std::string::npos);
    EXPECT_NE(again.find("msgctxt \"item 3 description\"\nmsgid \"\"\n\"\u041E\u0441\u0442\u0440\u044B\u0439.\\n\"\n"
                         "\"\u041E\u0447\u0435\u043D\u044C \u043E\u0441\u0442\u0440\u044B\u0439 \u2116 1.\"\n"),
              std::string::npos);

    // Without --codepage the system's page is used and named, as today.
    const Outcome plain = varnhold({"items-export", "--po", "--braydesc", f("Braydesc.edt"), "-"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("\"X-Varnhold-Code-Page: " + std::to_string(platform::CodePage::system().number()) +
                             "\\n\"\n"),
              std::string::npos);
}

TEST_F(CliPo, EachRefusalNamesTheEntryAndLeavesTheItemFileAndItsBackupAsTheyWere)
{
    // A first apply of the untranslated template, which changes nothing,
    // makes the backup.
    ASSERT_EQ(varnhold({"items-export", "--po", "--itemdesc", "--codepage", "1252", f("Itemdesc.edt"), f("t.po")})
                  .status,
              0);
    ASSERT_EQ(varnhold({"items-apply", "--codepage", "1252", f("t.po"), f("Itemdesc.edt")}).status, 0);
    ASSERT_TRUE(backupExists());
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == original);

    const std::string po = readFile(f("t.po"));
    const std::string header = po.substr(0, po.find("\n\n") + 2);
    // The line of the entry after the header, and of its msgid.
    const auto headerLines = static_cast<std::size_t>(std::count(header.begin(), header.end(), '\n'));
    const std::string at = std::to_string(headerLines + 1);
    const std::string msgidAt = std::to_string(headerLines + 2);
    auto entry = [&](const std::string& context, const std::string& msgid, const std::string& msgstr) {
        return header + "msgctxt \"" + context + "\"\nmsgid \"" + msgid + "\"\nmsgstr \"" + msgstr + "\"\n";
    };
    const std::pair<std::string, std::string> rows[] = {
        {header + "msgctxt \"item 7 short name\"\nmsgid \"Knife\nmsgstr \"\"\n",
         "The PO file is malformed: line " + msgidAt + ": a string is not closed."},
        {entry("item 999 short name", "Knife", "Messer"),
         "line " + at + ", entry \"item 999 short name\": the context names no item and field of Itemdesc.edt (\"item "
                        "N field\", N from 0 to 350)."},
        {entry("item 7 short name", "Knive", "Messer"),
         "line " + at + ", entry \"item 7 short name\": its msgid is not the text the item file holds, so the "
                        "translation was made for other texts."},
        {entry("item 7 short name", "Knife", "\u041D\u043E\u0436"),
         "line " + at + ", entry \"item 7 short name\": the translation holds the character U+041D, which code page "
                        "1252 cannot write."},
        {entry("item 7 short name", "Knife", std::string(80, 'M')),
         "line " + at + ", entry \"item 7 short name\": the translation is 80 characters long; at most 79 fit."},
        {header + "msgctxt \"item 7 short name\"\nmsgid \"Knife\"\nmsgid_plural \"Knives\"\nmsgstr[0] \"Messer\"\n",
         "line " + at + ", entry \"item 7 short name\": a plural entry (msgid_plural); item texts have no plural "
                        "forms."},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" +
             entry("item 7 short name", "Knife", "Messer").substr(header.size()),
         "line 1: the header does not say which item file the texts are of (X-Varnhold-Layout: Itemdesc or "
         "Braydesc)."},
    };
    const std::string backup = readFile(f("Itemdesc.edt.bak"));
    for (const auto& [text, reason] : rows) {
        SCOPED_TRACE(reason);
        writeFile(f("bad.PO"), text); // the name's ending in any case
        const Outcome run = varnhold({"items-apply", "--codepage", "1252", f("bad.PO"), f("Itemdesc.edt")});
        EXPECT_EQ(run.status, 1);
        // The reason starts its sentence with a capital, as every refusal's does.
        const std::string sentence = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0]))) +
                                     reason.substr(1);
        EXPECT_EQ(run.err, "varnhold: " + f("bad.PO") + ": " + sentence + " Nothing was written.\n");
        const Outcome dry = varnhold({"items-apply", "--dry-run", "--codepage", "1252", f("bad.PO"), f("Itemdesc.edt")});
        EXPECT_EQ(dry.status, 1);
        EXPECT_EQ(dry.err, run.err);
        EXPECT_TRUE(readFile(f("Itemdesc.edt")) == original);
        EXPECT_TRUE(readFile(f("Itemdesc.edt.bak")) == backup);
    }

    // A good translation's dry run prints its change and writes nothing.
    writeFile(f("good.po"), entry("item 7 short name", "Knife", "Messer \\\"M\\\"\u00E9"));
    const Outcome dry = varnhold({"items-apply", "--codepage", "1252", "--dry-run", f("good.po"), f("Itemdesc.edt")});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, "item 7 short name: \"Knife\" -> \"Messer \\\"M\\\"\\xe9\"\n");
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == original);
}

TEST_F(CliPo, CodePagesOtherThanTheGamesAreUsageErrors)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"items-export", "--po", "--itemdesc", "--codepage", "65001", f("Itemdesc.edt"), f("t.po")},
         "varnhold: items-export: --codepage 65001 is not a code page of the game's texts: say 874, 1250, 1251, 1252, "
         "1253, 1254, 1255, 1256, 1257 or 1258.\n"},
        {{"items-apply", "--codepage=cp1251", f("t.po"), f("Itemdesc.edt")},
         "varnhold: items-apply: --codepage cp1251 is not a code page of the game's texts: say 874, 1250, 1251, 1252, "
         "1253, 1254, 1255, 1256, 1257 or 1258.\n"},
        {{"items-export", "--itemdesc", "--codepage", "1251", f("Itemdesc.edt"), f("t.vlc")},
         "varnhold: items-export: --codepage goes with --po; a text form holds the texts' bytes as they are.\n"},
        {{"items-apply", "--codepage", "1251", f("t.vlc"), f("Itemdesc.edt")},
         "varnhold: items-apply: --codepage goes with a PO file (TEXTS.po); a text form holds the texts' bytes as "
         "they are.\n"},
    };
    for (const auto& [words, message] : rows) {
        const Outcome run = varnhold(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, message.size()), message);
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == original);
    EXPECT_FALSE(files.isFile(f("t.po")));
}

} // namespace
