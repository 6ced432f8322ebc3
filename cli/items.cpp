// The item texts: an item text file as text form or PO template, a text form
// or a PO file of translations patched into an item text file, and names.def.

// standard
#include <charconv>
#include <optional>

// ours
#include "cli/changes.h"
#include "cli/command.h"
#include "platform/ascii.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/textlines.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/pofile.h"
#include "velloc/core/textfiles.h"
#include "velloc/core/textform.h"

namespace cli {

namespace {

int writeTexts(platform::FileSystem& files, const std::string& output, const velloc::ItemTexts& texts,
               const std::string& input)
{
    if (auto written = writeOutput(files, output, velloc::textFormLines(texts), input); !written) {
        report(output, written);
        return kRefused;
    }
    return kSuccess;
}

/// The code page of --codepage, one of those the programs know; the
/// system's without it.
platform::CodePage codePageOf(const Arguments& args)
{
    if (!args.has("--codepage"))
        return platform::CodePage::system();
    const std::string value = args.value("--codepage");
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size() ||
        !platform::CodePage::windows(number))
        throw UsageError{"--codepage " + value + " is not a code page of the game's texts: say 874, 1250, 1251, "
                         "1252, 1253, 1254, 1255, 1256, 1257 or 1258"};
    return *platform::CodePage::windows(number);
}

/// A PO file of translations, by its name's ending (.po, in any case).
bool isPoFile(const std::string& path)
{
    return path.size() > 3 && platform::asciiLower(std::string_view(path).substr(path.size() - 3)) == ".po";
}

int writePo(platform::FileSystem& files, const std::string& output, const std::string& text,
            const std::string& input)
{
    platform::Status written = output == "-" ? writeStandardOutput(text, input) : checkNotInput(output, input);
    if (written && output != "-")
        written = platform::writeTextFile(files, output, text);
    if (!written) {
        report(output, written);
        return kRefused;
    }
    return kSuccess;
}

} // namespace

int itemsExport(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--codepage"}, {"--itemdesc", "--braydesc", "--po"});
    args.expectOperands(2, 2);
    if (args.has("--itemdesc") == args.has("--braydesc"))
        throw UsageError{"say which file it is: --itemdesc or --braydesc"};
    if (args.has("--codepage") && !args.has("--po"))
        throw UsageError{"--codepage goes with --po; a text form holds the texts' bytes as they are"};
    const platform::CodePage page = codePageOf(args);
    const velloc::FileType type = args.has("--itemdesc") ? velloc::FileType::Items : velloc::FileType::BobbyRay;
    const std::string& input = args.operands()[0];
    auto texts = velloc::readdata(files, input, type, velloc::ItemTexts{});
    reportNotes(files, input);
    if (!texts) {
        report(input, texts.status());
        return kRefused;
    }
    if (args.has("--po"))
        return writePo(files, args.operands()[1], velloc::poTemplate(*texts, page), input);
    return writeTexts(files, args.operands()[1], *texts, input);
}

int itemsApply(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--codepage"}, {"--dry-run"});
    args.expectOperands(2, 2);
    const std::string& textFile = args.operands()[0];
    const std::string& itemFile = args.operands()[1];
    // A file named *.po holds translations, whose characters are written in
    // the code page of --codepage (the system's without it); any other file
    // is a text form, which holds the texts' bytes as they are.
    const bool isPo = isPoFile(textFile);
    if (!isPo && args.has("--codepage"))
        throw UsageError{"--codepage goes with a PO file (TEXTS.po); a text form holds the texts' bytes as they are"};
    const platform::CodePage page = codePageOf(args);

    // The text form's mode line tells the layout; the item file is read in it,
    // and the text form read over it, so that items and fields the text form
    // does not mention keep what the file holds. The read and the write are
    // one hold of the item file, so no other program's change to it between
    // them is lost.
    auto lines = platform::readTextLines(files, textFile);
    if (!lines) {
        reportRefusal(textFile, lines.status());
        return kRefused;
    }
    // A PO file's header tells the layout as the mode line does; its entries
    // are checked against, and applied to, the texts the file holds.
    std::optional<velloc::PoFile> translations;
    if (isPo) {
        auto parsed = velloc::parsePoFile(lines->bytes(), textFile);
        if (!parsed) {
            reportRefusal(textFile, parsed.status());
            return kRefused;
        }
        translations = std::move(*parsed);
    }
    auto probe = isPo ? platform::Result<velloc::ItemTexts>(velloc::ItemTexts{})
                      : velloc::textFormOver(*lines, velloc::ItemTexts{}, textFile);
    if (!probe) {
        reportRefusal(textFile, probe.status());
        return kRefused;
    }
    const auto overCurrent = [&](const velloc::ItemTexts& current) -> platform::Result<velloc::ItemTexts> {
        if (translations)
            return velloc::applyPoFile(*translations, current, page, textFile);
        return velloc::textFormOver(*lines, current, textFile);
    };
    const velloc::FileType type = translations ? translations->type : probe->fileType;
    const Patch patch = [&](platform::FileSystem& on) {
        platform::Status patched = velloc::patchItemFile(on, itemFile, type, overCurrent);
        // A refusal of an entry of the PO file is reported on the PO file.
        const bool poRefused = translations && !patched && patched.path() == textFile;
        return PatchOutcome{poRefused ? textFile : itemFile, std::move(patched)};
    };
    if (args.has("--dry-run"))
        return dryRunPatch(files, itemFile, patch, gameFileChanges(GameFile::ItemFile, itemFile, type));
    return runPatch(files, itemFile, patch);
}

int namesDef(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {"--itemdesc", "--braydesc"});
    args.expectOperands(1, 2);
    const std::string& input = args.operands()[0];
    // Both item files have one length, so only the name or the user tells
    // them apart; names.def takes the weapon names of Itemdesc.edt alone.
    if (args.has("--braydesc"))
        throw UsageError{"names.def holds the texts of an Itemdesc.edt; a Braydesc.edt has no weapon names for it"};
    if (!args.has("--itemdesc")) {
        if (platform::asciiLower(platform::nameOf(input)) != "itemdesc.edt")
            throw UsageError{"say which file it is: names.def is made from an Itemdesc.edt; give --itemdesc when "
                             "this one has another name"};
    }
    const std::string output = args.operands().size() == 2
                                   ? args.operands()[1]
                                   : platform::joinPath(platform::checkifroot(platform::currentFolder()), "names.def");
    auto texts = velloc::readdata(files, input, velloc::FileType::Items, velloc::ItemTexts{});
    reportNotes(files, input);
    if (!texts) {
        report(input, texts.status());
        return kRefused;
    }
    return writeTexts(files, output, *texts, input);
}

} // namespace cli
