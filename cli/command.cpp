#include "cli/command.h"

// standard
#include <algorithm>
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

std::vector<OptionText> optionTexts(const Command& c)
{
    std::vector<OptionText> out;
    std::string_view rest = c.options;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos)
            out.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return out;
}

namespace {

constexpr std::size_t kColumns = 79;

/// The words of a usage, a bracketed group ("[--po [--codepage NNNN]]",
/// "(--itemdesc | --braydesc)") as one, so that no line break falls in it.
std::vector<std::string> usageGroups(std::string_view usage)
{
    std::vector<std::string> groups;
    std::string current;
    int depth = 0;
    for (char c : usage) {
        if (c == ' ' && depth == 0) {
            if (!current.empty())
                groups.push_back(std::move(current));
            current.clear();
            continue;
        }
        depth += (c == '[' || c == '(') - (c == ']' || c == ')');
        current += c;
    }
    if (!current.empty())
        groups.push_back(std::move(current));
    return groups;
}

/// The words laid out from column `indent` on, the first line starting
/// with `first`, every line ended before kColumns.
std::string wrapped(const std::vector<std::string>& words, const std::string& first, std::size_t indent)
{
    std::string out = first;
    const std::size_t lastBreak = first.rfind('\n');
    std::size_t column = lastBreak == std::string::npos ? first.size() : first.size() - lastBreak - 1;
    bool lineEmpty = true;
    for (const std::string& w : words) {
        if (!lineEmpty && column + 1 + w.size() > kColumns) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += w;
        column += w.size();
        lineEmpty = false;
    }
    return out + "\n";
}

std::vector<std::string> wordsOf(std::string_view text)
{
    std::vector<std::string> words;
    std::string current;
    for (char c : text) {
        if (c == ' ' || c == '\n') {
            if (!current.empty())
                words.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        words.push_back(std::move(current));
    return words;
}

} // namespace

std::string commandHelp(const Command& c)
{
    const std::string head = "Usage: varnhold " + std::string(c.name) + " ";
    std::string text = wrapped(usageGroups(c.usage), head, head.size()) + "\n" + std::string(c.help) + "\nOptions:\n";
    // The options' texts start in one column, as GNU tools list them.
    constexpr std::size_t kTextColumn = 24;
    std::vector<OptionText> options = optionTexts(c);
    options.push_back({"--help", "show this help and exit"});
    for (const OptionText& o : options) {
        std::string tag = (o.option == "--help" ? "  -h, " : "      ") + std::string(o.option);
        // A tag too long for its column has its text on the next line.
        tag += tag.size() + 2 <= kTextColumn ? std::string(kTextColumn - tag.size(), ' ')
                                             : "\n" + std::string(kTextColumn, ' ');
        text += wrapped(wordsOf(o.text), tag, kTextColumn);
    }
    return text;
}

/// Whether the text starts with a word of small letters alone ("the file
/// is in use", "line 19, entry"): a word to start a sentence with a capital,
/// where a file's name ("vrn.exe.bak is not a backup") is never changed.
bool startsWithLowerWord(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] >= 'a' && text[i] <= 'z')
        ++i;
    return i > 0 && (i == text.size() || text[i] == ' ');
}

namespace {

/// Whether a message names the file itself, not merely a file whose name
/// begins with it (its backup "IMP.dat.bak"): the name is followed by the
/// message's end, a blank, a stop that ends a sentence, or punctuation.
bool namesFile(std::string_view message, std::string_view file)
{
    if (file.empty())
        return false;
    for (auto at = message.find(file); at != std::string_view::npos; at = message.find(file, at + 1)) {
        const std::string_view rest = message.substr(at + file.size());
        if (rest.empty() || std::string_view(" \r\n:;,)\"'").find(rest[0]) != std::string_view::npos)
            return true;
        if (rest[0] == '.' && (rest.size() == 1 || rest[1] == ' ' || rest[1] == '\r' || rest[1] == '\n'))
            return true;
    }
    return false;
}

/// The lines of a message as one line of sentences, joined with blanks. A
/// line that ends on a word, followed by one that starts with a capital,
/// ends its sentence there, so that the sentences do not run together.
std::string sentences(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::string line : lines) {
        // A text from elsewhere (the system's) may bring line ends of its own.
        for (char& c : line)
            if (c == '\r' || c == '\n')
                c = ' ';
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(' ') - first + 1);
        if (!text.empty()) {
            const char last = text.back();
            const bool endsWord = (last >= 'a' && last <= 'z') || (last >= '0' && last <= '9');
            if (endsWord && line[0] >= 'A' && line[0] <= 'Z')
                text += '.';
            text += ' ';
        }
        text += line;
    }
    return text;
}

/// Writes the one line of a failure: "varnhold: ", the file and ": " when
/// there is one (`file` not null), then the failure's lines as sentences,
/// with a capital at the start and a full stop at the end, so that every
/// refusal has one shape.
void reportLine(const std::string* file, const platform::Status& failure)
{
    // A failure that gives its reason apart, and names no other file, is
    // worded "FILE: reason". One about this very file whose message names it
    // is shown whole; any other names the file first.
    const std::string none;
    const std::string& named = file ? *file : none;
    const bool otherFile = !failure.path().empty() && failure.path() != named;
    const bool ownReason = failure.hasReason() && !otherFile;
    std::vector<std::string> lines = ownReason ? std::vector<std::string>{failure.reason()} : failure.message().lines();
    for (std::string& l : lines)
        l = withNamesShown(l, {named, failure.path()});
    std::string line = "varnhold: ";
    // Standard output ("-") is spoken of by that name.
    const bool spokenOf = file && (*file == "-" || namesFile(failure.error(), *file));
    if (file && (ownReason || failure.path() != *file || !spokenOf))
        line += (file->empty() ? std::string("''") : shownName(*file)) + ": ";
    std::string text = sentences(lines);
    if (!text.empty()) {
        // A system's reason ("the file is in use by another program") starts
        // a sentence as the programs' own do; every sentence ends in a stop.
        if (startsWithLowerWord(text))
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
        if (text.back() != '.' && text.back() != '?' && text.back() != '!')
            text += '.';
    }
    line += text + '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace

void report(const std::string& file, const platform::Status& failure)
{
    reportLine(&file, failure);
}

void report(const std::string& file, std::string_view message)
{
    reportLine(&file, platform::Status::failure(std::string(message)));
}

void report(const platform::Status& failure)
{
    reportLine(nullptr, failure);
}

void report(std::string_view message)
{
    reportLine(nullptr, platform::Status::failure(std::string(message)));
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
        return platform::Status::failure({output, "The output is the input file itself.", "Nothing was written."},
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
