// The custom mercenary: IMP.dat as a preset section, and a preset section
// applied to IMP.dat.

// ours
#include "cli/changes.h"
#include "cli/command.h"
#include "cli/mercenary.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"
#include "platform/ascii.h"
#include "platform/console.h"
#include "platform/textlines.h"

namespace cli {

namespace {

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
    const auto dumped = kestrin::dumpProfile(files, input, args.value("--section"));
    reportNotes(files, input);
    if (!dumped) {
        report(input, dumped.status());
        return kRefused;
    }
    const std::vector<std::string>& lines = *dumped;
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
    const Arguments args(words, {"--section"}, {"--dry-run"});
    args.expectOperands(2, 2);
    const std::string& presets = args.operands()[0];
    const std::string& target = args.operands()[1];
    // The presets are never written into, under any of their names.
    if (auto refused = checkNotInput(target, presets); !refused) {
        reportRefusal(target, refused);
        return kRefused;
    }

    auto text = platform::readTextFile(files, presets);
    if (!text) {
        reportRefusal(presets, text.status());
        return kRefused;
    }
    auto section = chosenSection(*text, args.value("--section"));
    if (!section) {
        reportRefusal(presets, section.status());
        return kRefused;
    }
    // As the window does it: Read, the preset, Save; but under one hold of
    // IMP.dat, so that the record written starts from the record read. A
    // refusal in the section is the presets file's; any other, IMP.dat's.
    const Patch patch = [&](platform::FileSystem& on) -> PatchOutcome {
        kestrin::Profile profile;
        kestrin::ProfileChoices choices(profile);
        platform::Status applied = platform::Status::success();
        const auto saved = kestrin::editProfile(on, target, profile, choices, [&] {
            applied = kestrin::applyPresetSection(*text, *section, profile, choices);
            return applied;
        });
        if (!applied)
            return {presets, applied};
        if (!saved)
            return {target, saved.status()};
        // The save's own notes are the window's, with its advice; an empty
        // name or callsign is noted here instead.
        PatchOutcome done{target};
        if (profile.name().empty())
            done.remarks.emplace_back("The name is empty, so the profile keeps the name it had.");
        if (profile.callsign().empty())
            done.remarks.emplace_back("The callsign is empty, so the profile keeps the callsign it had.");
        return done;
    };
    if (args.has("--dry-run"))
        return dryRunPatch(files, target, patch, gameFileChanges(GameFile::Profile, target));
    return runPatch(files, target, patch);
}

} // namespace cli
