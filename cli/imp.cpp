// The custom mercenary: IMP.dat as a preset section, and a preset section
// applied to IMP.dat.

// standard
#include <functional>

// ours
#include "cli/command.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"
#include "platform/ascii.h"
#include "platform/console.h"
#include "platform/textlines.h"

namespace cli {

namespace {

/// Runs a step of Kestrin's core, which ends a step it refuses by throwing
/// kestrin::Error, and gives its outcome as a Status: the one place where
/// this program turns those refusals into its own failures.
platform::Status attempt(const std::function<void()>& step)
{
    try {
        step();
        return platform::Status::success();
    } catch (const kestrin::Error& e) {
        return platform::Status::failure(e.what(), {}, e.path());
    }
}

/// The preset section to apply: the one named, or the file's only one.
platform::Result<std::string> chosenSection(std::string_view iniText, const std::string& named)
{
    const std::vector<std::string> sections = kestrin::presetSections(iniText);
    if (named.empty()) {
        if (sections.size() != 1)
            return platform::Result<std::string>::failure(
                "holds " + std::to_string(sections.size()) + " preset sections; name the one to apply with --section.");
        return sections.front();
    }
    if (!kestrin::hasSection(sections, named))
        return platform::Result<std::string>::failure("holds no preset section [" + platform::printableAscii(named) +
                                                      "].");
    return named;
}

/// Puts the section into the presets file `output`, which must not be the
/// profile it was read from.
platform::Status savePreset(platform::FileSystem& files, const std::string& output,
                            const std::vector<std::string>& lines, const std::string& input)
{
    if (auto refused = checkNotInput(output, input); !refused)
        return refused;
    return kestrin::savePresetSection(files, output, lines);
}

} // namespace

int impDump(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--section"}, {});
    args.expectOperands(1, 2);
    const std::string& input = args.operands()[0];
    const std::string output = args.operands().size() == 2 ? args.operands()[1] : "-";
    // Standard output is checked before IMP.dat is opened: redirected into
    // IMP.dat itself, the redirection holds the file, which Windows would
    // otherwise report only as "in use".
    if (auto refused = output == "-" ? platform::checkStandardOutput(input) : platform::Status::success(); !refused) {
        report(output, refused);
        return kRefused;
    }
    std::vector<std::string> lines;
    if (auto dumped = attempt([&] { lines = kestrin::dumpProfile(files, input, args.value("--section")); });
        !dumped) {
        report(input, dumped);
        return kRefused;
    }
    // Standard output takes the section alone; a presets file keeps its
    // other presets and its list.
    const bool toStandardOutput = output == "-";
    if (auto written = toStandardOutput ? writeOutput(files, output, lines, input)
                                        : savePreset(files, output, lines, input);
        !written) {
        report(output, written);
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

    auto text = platform::readTextFile(files, presets);
    if (!text) {
        report(presets, text.status());
        return kRefused;
    }
    auto section = chosenSection(*text, args.value("--section"));
    if (!section) {
        report(presets, section.status());
        return kRefused;
    }
    // As the window does it: Read, the preset, Save. A refusal in the
    // section is the presets file's; one in reading or writing, IMP.dat's.
    kestrin::Profile profile;
    kestrin::ProfileChoices choices(profile);
    if (auto read = attempt([&] { kestrin::readProfile(files, target, profile, choices); }); !read) {
        report(target, read);
        return kRefused;
    }
    if (auto applied = attempt([&] { kestrin::applyPresetSection(*text, *section, profile, choices); }); !applied) {
        report(presets, applied);
        return kRefused;
    }
    // The save's own notes are the window's, with its advice; an empty name
    // or callsign is noted here instead.
    auto saved = attempt([&] { (void)kestrin::writeProfile(files, target, profile); });
    for (const std::string& note : files.takeNotes()) // a rolled-back patch, which names the file
        report(target, platform::Status::failure(note, {}, target));
    if (!saved) {
        report(target, saved);
        return kRefused;
    }
    if (profile.name().empty())
        report(target, "the name is empty, so the profile keeps the name it had.");
    if (profile.callsign().empty())
        report(target, "the callsign is empty, so the profile keeps the callsign it had.");
    return kSuccess;
}

} // namespace cli
