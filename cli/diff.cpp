// Two files of one kind compared: the change list from the first to the
// second, with the exit statuses of diff.

// standard
#include <optional>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/rulechanges.h"
#include "brackel/core/rulefiles.h"
#include "cli/changes.h"
#include "cli/mercenary.h"
#include "cli/command.h"
#include "kestrin/core/profilechanges.h"
#include "kestrin/core/profilerecord.h"
#include "platform/console.h"
#include "platform/gamefiles.h"
#include "platform/textlines.h"
#include "velloc/core/itemchanges.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/textfiles.h"
#include "velloc/core/textform.h"

namespace cli {

namespace {

constexpr int kSame = 0, kDifferent = 1, kTrouble = 2;

enum class Form { Executable, Brk, ItemFile, TextForm, Profile, Presets };
enum class Kind { Rules, Texts, Mercenary };

Kind kindOf(Form form)
{
    switch (form) {
    case Form::Executable:
    case Form::Brk: return Kind::Rules;
    case Form::ItemFile:
    case Form::TextForm: return Kind::Texts;
    case Form::Profile:
    case Form::Presets: break;
    }
    return Kind::Mercenary;
}

std::string describe(Form form)
{
    switch (form) {
    case Form::Executable: return "a game executable";
    case Form::Brk: return "a Brackel file";
    case Form::ItemFile: return "an item text file";
    case Form::TextForm: return "a text form";
    case Form::Profile: return "a profile (IMP.dat)";
    case Form::Presets: break;
    }
    return "a presets file";
}

struct Operand {
    std::string path;
    Form form = Form::Executable;
    std::string text;                                 // a text file's bytes
    velloc::FileType layout = velloc::FileType::Items; // a text form's
};

/// What the file is: a game file by its length, IMP.dat by its zero bytes,
/// a text file of ours by its marks.
platform::Result<Operand> identify(platform::FileSystem& files, const std::string& path)
{
    Operand found;
    found.path = path;
    auto length = files.length(path);
    if (!length)
        return length.status();
    if (platform::gameBuildOfLength(*length))
        return found;
    if (*length == platform::kItemFileLength) {
        found.form = Form::ItemFile;
        return found;
    }
    const std::string none = "This file is none of the files diff compares: a game executable or a .brk file, an item text "
                             "file or a text form, IMP.dat or a presets file.";
    if (platform::tooLargeForText(*length))
        return platform::Status::failure(none);
    auto text = platform::readTextFile(files, path);
    if (!text)
        return text.status();
    found.text = std::move(*text);
    if (found.text.find('\0') != std::string::npos) {
        if (*length < kestrin::record::kMinimumLength)
            return platform::Status::failure(none);
        found.form = Form::Profile;
        return found;
    }
    if (found.text.empty())
        return platform::Status::failure(none);
    const platform::TextLines lines(found.text);
    switch (brackel::parseBrk(lines).outcome) {
    case brackel::BrkParse::Outcome::Recognized:
        found.form = Form::Brk;
        return found;
    case brackel::BrkParse::Outcome::Malformed:
        return brackel::loadRules(files, path).status(); // its words for the damage
    case brackel::BrkParse::Outcome::NotBrk:
        break;
    }
    const velloc::TextFormRead form = velloc::parseTextForm(lines, velloc::ItemTexts{});
    if (form.outcome == velloc::TextFormRead::Outcome::Accepted) {
        found.form = Form::TextForm;
        found.layout = form.texts.fileType;
        return found;
    }
    if (form.outcome != velloc::TextFormRead::Outcome::NotIdentified)
        return velloc::textFormRefusal(form, path);
    if (!kestrin::presetSections(found.text).empty()) {
        found.form = Form::Presets;
        return found;
    }
    return platform::Status::failure(none);
}

/// A failure, reported on the file it names; the status is kTrouble.
struct Trouble {
    std::string file;
    platform::Status failure;
};

using Lines = std::vector<std::string>;

std::optional<Trouble> ruleLines(platform::FileSystem& files, const Operand& a, const Operand& b, Lines& lines)
{
    auto from = brackel::loadRules(files, a.path);
    if (!from)
        return Trouble{a.path, from.status()};
    auto to = brackel::loadRules(files, b.path);
    if (!to)
        return Trouble{b.path, to.status()};
    const std::optional<brackel::Names> names = workingFolderNames(files);
    lines = brackel::ruleChanges(from->flags, to->flags, names ? &*names : nullptr);
    return std::nullopt;
}

std::optional<Trouble> textLines(platform::FileSystem& files, const Operand& a, const Operand& b,
                                 std::optional<velloc::FileType> asked, Lines& lines)
{
    // The layout: the one asked for, else a text form's mode line; all must agree.
    std::optional<velloc::FileType> layout = asked;
    for (const Operand* o : {&a, &b}) {
        if (o->form != Form::TextForm)
            continue;
        if (layout && *layout != o->layout)
            return Trouble{o->path, platform::Status::failure(
                                        "This file is a text form of " + velloc::layoutName(o->layout) + " texts, and " +
                                        (asked ? std::string(asked == velloc::FileType::BobbyRay ? "--braydesc"
                                                                                                 : "--itemdesc") +
                                                     " was given"
                                               : "the other file holds " + velloc::layoutName(*layout) + " texts") +
                                        "; diff compares texts of one layout.")};
        layout = o->layout;
    }
    if (!layout)
        throw UsageError{"say how the item text files are laid out: --itemdesc or --braydesc"};

    // An item text file is read first; a text form is read over it, as
    // items-apply reads one, or over empty texts.
    velloc::ItemTexts base;
    base.fileType = *layout;
    std::optional<velloc::ItemTexts> texts[2];
    const Operand* operands[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        if (operands[i]->form != Form::ItemFile)
            continue;
        auto read = velloc::readdata(files, operands[i]->path, *layout, velloc::ItemTexts{});
        if (!read)
            return Trouble{operands[i]->path, read.status()};
        texts[i] = std::move(*read);
        base = *texts[i];
    }
    for (int i = 0; i < 2; ++i) {
        if (texts[i])
            continue;
        auto read = velloc::textFormOver(platform::TextLines(operands[i]->text), base, operands[i]->path);
        if (!read)
            return Trouble{operands[i]->path, read.status()};
        texts[i] = std::move(*read);
    }
    lines = velloc::itemTextChanges(*texts[0], *texts[1]);
    return std::nullopt;
}

std::optional<Trouble> mercenaryLines(platform::FileSystem& files, const Operand& a, const Operand& b,
                                      const std::string& section, Lines& lines)
{
    // IMP.dat is read as the editor's Read does; a preset section is applied
    // over the other file's profile, as imp-apply applies it, or over a new one.
    const Operand* operands[2] = {&a, &b};
    LoadedProfile profiles[2];
    for (int i = 0; i < 2; ++i) {
        const Operand& o = *operands[i];
        const Operand& other = *operands[1 - i];
        if (o.form == Form::Profile || other.form == Form::Profile) {
            const std::string& imp = o.form == Form::Profile ? o.path : other.path;
            auto read = loadProfile(files, imp);
            if (!read)
                return Trouble{imp, read.status()};
            profiles[i] = std::move(*read);
        }
        if (o.form != Form::Presets)
            continue;
        auto chosen = chosenSection(o.text, section, "compare");
        if (!chosen)
            return Trouble{o.path, chosen.status()};
        if (auto applied =
                kestrin::applyPresetSection(o.text, *chosen, *profiles[i].profile, *profiles[i].choices);
            !applied)
            return Trouble{o.path, applied};
    }
    lines = kestrin::profileChanges(*profiles[0].profile, *profiles[1].profile);
    return std::nullopt;
}

} // namespace

int diff(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {"--section"}, {"--itemdesc", "--braydesc"});
    args.expectOperands(2, 2);
    if (args.has("--itemdesc") && args.has("--braydesc"))
        throw UsageError{"--itemdesc and --braydesc exclude each other"};

    // Only read: nothing is written and no file is held against the game.
    DryRunFileSystem reading(files, DryRunFileSystem::Opening::ForReading);
    Operand operands[2];
    for (int i = 0; i < 2; ++i) {
        auto found = identify(reading, args.operands()[i]);
        if (!found) {
            report(args.operands()[i], found.status());
            return kTrouble;
        }
        operands[i] = std::move(*found);
    }
    const Operand &a = operands[0], &b = operands[1];
    if (kindOf(a.form) != kindOf(b.form)) {
        report(b.path, "This file is " + describe(b.form) + ", and " + a.path + " is " + describe(a.form) +
                           "; diff compares two files of one kind.");
        return kTrouble;
    }
    const Kind kind = kindOf(a.form);
    const bool layoutAsked = args.has("--itemdesc") || args.has("--braydesc");
    if (layoutAsked && kind != Kind::Texts)
        throw UsageError{"--itemdesc and --braydesc are for item texts"};
    if (args.has("--section") && a.form != Form::Presets && b.form != Form::Presets)
        throw UsageError{"--section names a preset section, and neither file is a presets file"};

    Lines lines;
    std::optional<Trouble> trouble;
    switch (kind) {
    case Kind::Rules:
        trouble = ruleLines(reading, a, b, lines);
        break;
    case Kind::Texts:
        trouble = textLines(reading, a, b,
                            layoutAsked ? std::optional(args.has("--braydesc") ? velloc::FileType::BobbyRay
                                                                               : velloc::FileType::Items)
                                        : std::nullopt,
                            lines);
        break;
    case Kind::Mercenary:
        trouble = mercenaryLines(reading, a, b, args.value("--section"), lines);
        break;
    }
    reportNotes(reading, a.path); // a file shown as its unfinished patch's rollback leaves it
    if (trouble) {
        report(trouble->file, trouble->failure);
        return kTrouble;
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    if (!text.empty()) {
        // Standard output goes into neither file.
        auto written = platform::checkStandardOutput(b.path);
        if (written)
            written = writeStandardOutput(text, a.path);
        if (!written) {
            report(written);
            return kTrouble;
        }
    }
    return lines.empty() ? kSame : kDifferent;
}

} // namespace cli
