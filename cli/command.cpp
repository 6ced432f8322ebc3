#include "cli/command.h"

// standard
#include <cstdio>
#include <string>
#include <vector>

// ours
#include "platform/console.h"
#include "platform/textlines.h"

namespace cli {

Arguments::Arguments(const std::vector<std::string>& words, const std::vector<std::string_view>& valued,
                     const std::vector<std::string_view>& flags)
{
    auto among = [](const std::vector<std::string_view>& names, std::string_view name) {
        for (std::string_view n : names)
            if (n == name)
                return true;
        return false;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-' || word == "-") {
            operands_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (among(flags, name)) {
            if (equals != std::string::npos)
                throw UsageError{"option " + name + " takes no value"};
            options_[name];
        } else if (among(valued, name)) {
            // Two values for one option are a mistake, not a choice of the last.
            if (options_.count(name))
                throw UsageError{"option " + name + " is given twice"};
            if (equals != std::string::npos)
                options_[name] = word.substr(equals + 1);
            else if (i + 1 < words.size())
                options_[name] = words[++i];
            if (options_[name].empty())
                throw UsageError{"option " + name + " needs a value"};
        } else {
            throw UsageError{"unknown option " + word};
        }
    }
}

std::string Arguments::value(std::string_view option) const
{
    auto found = options_.find(std::string(option));
    return found == options_.end() ? std::string() : found->second;
}

void Arguments::expectOperands(std::size_t least, std::size_t most) const
{
    if (operands_.size() < least)
        throw UsageError{"missing file operand"};
    if (operands_.size() > most)
        throw UsageError{"too many operands (from \"" + operands_[most] + "\" on)"};
}

namespace {

/// A file name as one line shows it: control bytes (a line break in the
/// name) as \xNN, every other byte as it is.
std::string shownName(std::string_view name)
{
    std::string shown;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            constexpr const char* kHex = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

/// The message with every mention of the named files shown as shownName
/// shows them.
std::string withNamesShown(std::string message, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const std::string shown = shownName(name);
        if (name.empty() || shown == name)
            continue;
        for (std::size_t at = message.find(name); at != std::string::npos;
             at = message.find(name, at + shown.size()))
            message.replace(at, name.size(), shown);
    }
    return message;
}

} // namespace

void report(const std::string& file, const platform::Status& failure)
{
    // A failure that gives its reason apart, and names no other file, is
    // worded "FILE: reason". One whose message names this very file is shown
    // whole; any other names the file first.
    const bool otherFile = !failure.path().empty() && failure.path() != file;
    const bool ownReason = failure.hasReason() && !otherFile;
    const std::string message =
        withNamesShown(ownReason ? failure.reason() : failure.error(), {file, failure.path()});
    std::string line = "varnhold: ";
    if (!file.empty() && (ownReason || failure.path() != file))
        line += shownName(file) + ": ";
    // The programs' messages break their lines with "\r" or "\r\n". Where a
    // line ends a sentence without a stop and the next starts another, the
    // stop is put in, so that the sentences do not run together.
    bool pendingBreak = false;
    for (char c : message) {
        if (c == '\r' || c == '\n') {
            pendingBreak = true;
            continue;
        }
        if (pendingBreak) {
            const char last = line.back();
            const bool endsWord = (last >= 'a' && last <= 'z') || (last >= '0' && last <= '9');
            if (endsWord && c >= 'A' && c <= 'Z')
                line += '.';
            if (line.back() != ' ')
                line += ' ';
            pendingBreak = false;
        }
        line += c;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void report(const std::string& file, std::string_view message)
{
    report(file, platform::Status::failure(std::string(message)));
}

void reportNotes(platform::FileSystem& files, const std::string& file)
{
    for (const std::string& note : files.takeNotes())
        report(file, platform::Status::failure(note, {}, file));
}

platform::Status writeStandardOutput(std::string_view bytes, const std::string& input)
{
    if (auto refused = platform::checkStandardOutput(input); !refused)
        return refused;
    if (!platform::writeStandardOutput(bytes))
        return platform::Status::failure("Could not write to standard output.", {}, "-");
    return platform::Status::success();
}

platform::Status checkNotInput(const std::string& output, const std::string& input)
{
    if (platform::sameFile(output, input))
        return platform::Status::failure(output + "\rThe output is the input file itself.\rNothing was written.",
                                         "The output is the input file itself. Nothing was written.", output);
    return platform::Status::success();
}

platform::Status writeOutput(platform::FileSystem& files, const std::string& output,
                             const std::vector<std::string>& lines, const std::string& input)
{
    if (output == "-")
        return writeStandardOutput(platform::joinLines(lines), input);
    if (auto refused = checkNotInput(output, input); !refused)
        return refused;
    return platform::writeTextLines(files, output, lines);
}

} // namespace cli
