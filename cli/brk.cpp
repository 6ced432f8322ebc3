// The attachment rules: a game executable's table as a .brk file, a .brk
// file patched into an executable, and what a file holds.

// ours
#include "brackel/core/rulefiles.h"
#include "brackel/core/brkfile.h"
#include "cli/changes.h"
#include "cli/command.h"

namespace cli {

int brkExport(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {});
    args.expectOperands(2, 2);
    const std::string& input = args.operands()[0];
    const std::string& output = args.operands()[1];
    auto rules = brackel::loadRules(files, input);
    reportNotes(files, input);
    if (!rules) {
        report(input, rules.status());
        return kRefused;
    }
    if (auto written = writeOutput(files, output, brackel::brkLines(rules->flags, rules->remaining), input);
        !written) {
        report(output, written);
        return kRefused;
    }
    return kSuccess;
}

int brkApply(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {"--dry-run"});
    args.expectOperands(2, 2);
    const std::string& rulesFile = args.operands()[0];
    const std::string& game = args.operands()[1];
    auto rules = brackel::loadRules(files, rulesFile);
    if (!rules) {
        reportRefusal(rulesFile, rules.status());
        return kRefused;
    }
    const Patch patch = [&](platform::FileSystem& on) {
        return PatchOutcome{game, brackel::applyRules(on, game, rules->flags).status()};
    };
    if (args.has("--dry-run"))
        return dryRunPatch(files, game, patch, gameFileChanges(GameFile::Executable, game));
    return runPatch(files, game, patch);
}

int brkInfo(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {});
    args.expectOperands(1, 1);
    const std::string& input = args.operands()[0];
    auto rules = brackel::loadRules(files, input);
    reportNotes(files, input);
    if (!rules) {
        report(input, rules.status());
        return kRefused;
    }
    const std::string kind = rules->kind == brackel::FileKind::Executable
                                 ? "game executable " + std::string(rules->tag)
                                 : std::string("Brackel file");
    const std::string line = input + ": " + kind + ", " + std::to_string(rules->remaining) + " of " +
                             std::to_string(brackel::kTableEntries) + " table entries free\n";
    if (auto written = writeStandardOutput(line, input); !written) {
        report(written);
        return kRefused;
    }
    return kSuccess;
}

} // namespace cli
