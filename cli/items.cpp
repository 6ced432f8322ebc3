// The item texts: an item text file as text form, a text form patched into
// an item text file, and names.def.

// ours
#include "cli/command.h"
#include "platform/process.h"
#include "platform/textlines.h"
#include "velloc/core/itemcodec.h"
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

} // namespace

int itemsExport(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {"--itemdesc", "--braydesc"});
    args.expectOperands(2, 2);
    if (args.has("--itemdesc") == args.has("--braydesc"))
        throw UsageError{"say which file it is: --itemdesc or --braydesc"};
    const velloc::FileType type = args.has("--itemdesc") ? velloc::FileType::Items : velloc::FileType::BobbyRay;
    const std::string& input = args.operands()[0];
    auto texts = velloc::readdata(files, input, type, velloc::ItemTexts{});
    if (!texts) {
        report(input, texts.status());
        return kRefused;
    }
    return writeTexts(files, args.operands()[1], *texts, input);
}

int itemsApply(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {});
    args.expectOperands(2, 2);
    const std::string& textFile = args.operands()[0];
    const std::string& itemFile = args.operands()[1];

    // The text form's mode line tells the layout; the item file is read in it,
    // and the text form read over it, so that items and fields the text form
    // does not mention keep what the file holds. The read and the write are
    // one hold of the item file, so no other program's change to it between
    // them is lost.
    auto lines = platform::readTextLines(files, textFile);
    if (!lines) {
        report(textFile, lines.status());
        return kRefused;
    }
    const velloc::TextFormRead probe = velloc::parseTextForm(*lines, velloc::ItemTexts{});
    if (probe.outcome != velloc::TextFormRead::Outcome::Accepted) {
        report(textFile, velloc::textFormRefusal(probe, textFile));
        return kRefused;
    }
    const auto overCurrent = [&](const velloc::ItemTexts& current) -> platform::Result<velloc::ItemTexts> {
        velloc::TextFormRead read = velloc::parseTextForm(*lines, current);
        if (read.outcome != velloc::TextFormRead::Outcome::Accepted)
            return velloc::textFormRefusal(read, textFile);
        return std::move(read.texts);
    };
    auto written = velloc::patchItemFile(files, itemFile, probe.texts.fileType, overCurrent);
    for (const std::string& note : files.takeNotes()) // a rolled-back patch, which names the file
        report(itemFile, platform::Status::failure(note, {}, itemFile));
    if (!written) {
        report(itemFile, written);
        return kRefused;
    }
    return kSuccess;
}

int namesDef(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {});
    args.expectOperands(1, 2);
    const std::string& input = args.operands()[0];
    const std::string output = args.operands().size() == 2
                                   ? args.operands()[1]
                                   : platform::joinPath(platform::checkifroot(platform::currentFolder()), "names.def");
    auto texts = velloc::readdata(files, input, velloc::FileType::Items, velloc::ItemTexts{});
    if (!texts) {
        report(input, texts.status());
        return kRefused;
    }
    return writeTexts(files, output, *texts, input);
}

} // namespace cli
