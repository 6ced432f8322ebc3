// The custom mercenary: IMP.dat as a preset section, and a preset section
// applied to IMP.dat.

// ours
#include "cli/command.h"
#include "kestrin/inventory/profilepreset.h"
#include "kestrin/profile/profile.h"

namespace cli {

namespace {

/// Presets files are small; anything larger is no presets file.
constexpr std::uint64_t kMaxPresetsLength = 16u << 20;

} // namespace

int impDump(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--section"}, {});
    args.expectOperands(1, 2);
    const std::string& input = args.operands()[0];
    const std::string output = args.operands().size() == 2 ? args.operands()[1] : "-";
    std::vector<std::string> lines;
    try {
        lines = kestrin::dumpProfile(files, input, args.value("--section"));
    } catch (const kestrin::Error& e) {
        report(input, e.what());
        return kRefused;
    }
    if (auto written = writeOutput(files, output, lines, input); !written) {
        report(output, written.error());
        return kRefused;
    }
    return kSuccess;
}

int impApply(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--section"}, {});
    args.expectOperands(2, 2);
    const std::string& presets = args.operands()[0];
    const std::string& target = args.operands()[1];

    auto length = files.length(presets);
    if (!length) {
        report(presets, length.error());
        return kRefused;
    }
    if (*length > kMaxPresetsLength) {
        report(presets, "is " + std::to_string(*length) + " bytes long; a presets file is never larger than 16 MiB.");
        return kRefused;
    }
    auto text = files.readAll(presets);
    if (!text) {
        report(presets, text.error());
        return kRefused;
    }
    std::string section = args.value("--section");
    const std::vector<std::string> sections = kestrin::presetSections(*text);
    if (section.empty()) {
        if (sections.size() != 1) {
            report(presets, "holds " + std::to_string(sections.size()) +
                                " preset sections; name the one to apply with --section.");
            return kRefused;
        }
        section = sections.front();
    } else if (!kestrin::hasSection(sections, section)) {
        report(presets, "holds no preset section [" + section + "].");
        return kRefused;
    }
    try {
        for (const std::string& note : kestrin::applyPresetSection(files, *text, section, target))
            report(target, note);
    } catch (const kestrin::Error& e) {
        report(target, std::string("[") + section + "]: " + e.what());
        return kRefused;
    }
    return kSuccess;
}

} // namespace cli
