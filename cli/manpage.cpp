// varnhold_manpage: makes the manual page varnhold(1) at build time from
// the console program's own command table (cli/commandtable.cpp), the one
// that `varnhold --help` and `varnhold COMMAND --help` print, so the page
// and the program cannot say different things. Never installed.
//
//   varnhold_manpage TEMPLATE OUTPUT VERSION DATE
//
// TEMPLATE is roff (desktop/man/varnhold.1.in) whose prose is written by
// hand. What comes from the table is put in place of these marks:
//   @VERSION@ @DATE@             the package's version and its release date
//   @EXIT_SUCCESS@ @EXIT_REFUSED@ @EXIT_USAGE@
//                                the exit statuses (cli::Exit)
//   @SYNOPSIS@                   (a line of its own) one usage line per command
//   @COMMAND_LIST@               (a line of its own) each command's summary, as --help lists them
//   @COMMANDS@                   (a line of its own) each command: its usage, its help text,
//                                and its options with their texts in the table
// A mark the generator does not know is an error, so none reaches the page;
// any other "@" is left as it is.

// standard
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// ours
#include "cli/commandtable.h"

namespace {

using cli::Command;

/// A word in capitals before its first dot: "NAME", "OUTPUT.vlc", "IMP.dat".
bool isUpperWord(std::string_view word)
{
    if (word.empty() || !std::isupper(static_cast<unsigned char>(word.front())))
        return false;
    for (char c : word.substr(0, word.find('.')))
        if (!std::isupper(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

/// Text as roff shows it as it is: a backslash escaped, and every hyphen a
/// hyphen-minus (\-), since what the page shows is mostly typed: commands,
/// options and file names.
std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

/// A line of running text: one that would start with a control character
/// starts with the zero-width \& instead.
std::string textLine(const std::string& line)
{
    if (!line.empty() && (line.front() == '.' || line.front() == '\''))
        return "\\&" + line;
    return line;
}

/// One word of a usage, with the brackets around it.
struct UsageWord {
    std::string open;  // "(" "[" before it
    std::string word;  // "--section", "NAME", "|"
    std::string close; // ")" "]" after it
};

std::vector<UsageWord> usageWords(std::string_view usage)
{
    std::vector<UsageWord> words;
    std::istringstream in{std::string(usage)};
    for (std::string raw; in >> raw;) {
        std::size_t first = 0;
        while (first < raw.size() && (raw[first] == '(' || raw[first] == '['))
            ++first;
        std::size_t last = raw.size();
        while (last > first && (raw[last - 1] == ')' || raw[last - 1] == ']'))
            --last;
        words.push_back({raw.substr(0, first), raw.substr(first, last - first), raw.substr(last)});
    }
    return words;
}

/// Whether words[i], an option, takes the next word as its value: one in
/// capitals, with no bracket closing between them ("--section NAME", but
/// not "--braydesc) ITEMFILE").
bool takesValue(const std::vector<UsageWord>& words, std::size_t i)
{
    return words[i].close.empty() && i + 1 < words.size() && words[i + 1].open.empty() &&
           isUpperWord(words[i + 1].word);
}

struct Option {
    std::string name;  // "--section"
    std::string value; // "NAME", or empty for a flag
};

/// The options a usage names.
std::vector<Option> usageOptions(std::string_view usage)
{
    const std::vector<UsageWord> words = usageWords(usage);
    std::vector<Option> options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].word.rfind("--", 0) != 0)
            continue;
        Option o{words[i].word, {}};
        if (takesValue(words, i))
            o.value = words[++i].word;
        options.push_back(std::move(o));
    }
    return options;
}

/// The operands a usage names, in its order: the words that are neither
/// options nor their values nor "|".
std::vector<std::string> usageOperands(std::string_view usage)
{
    const std::vector<UsageWord> words = usageWords(usage);
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].word == "|")
            continue;
        if (words[i].word.rfind("--", 0) == 0) {
            if (takesValue(words, i))
                ++i;
            continue;
        }
        operands.push_back(words[i].word);
    }
    return operands;
}

/// The usage in roff fonts on one line: options in bold, operands in
/// italics, brackets and "|" in roman. No word is ever split at a line's
/// end: \% before a whole word, its brackets included, keeps it from being
/// hyphenated (a \% inside it would mark where it may be), and an option
/// and its value are joined by an unbreakable blank ("[--section NAME]").
std::string usageRoff(std::string_view usage)
{
    const std::vector<UsageWord> words = usageWords(usage);
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const UsageWord& w = words[i];
        const bool value = i > 0 && words[i - 1].word.rfind("--", 0) == 0 && takesValue(words, i - 1);
        if (value)
            out += "\\ ";
        else if (!out.empty())
            out += ' ';
        if (!value)
            out += "\\%";
        out += w.open;
        if (w.word == "|")
            out += "|";
        else if (w.word.rfind("-", 0) == 0)
            out += "\\fB" + escaped(w.word) + "\\fR";
        else
            out += "\\fI" + escaped(w.word) + "\\fR";
        out += w.close;
    }
    return out;
}

bool wordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
}

/// Whether `name` stands in `text` at `at` as a word of its own.
bool wordAt(std::string_view text, std::size_t at, std::string_view name)
{
    if (text.substr(at, name.size()) != name)
        return false;
    if (at > 0 && wordChar(text[at - 1]))
        return false;
    const std::size_t end = at + name.size();
    return end == text.size() || !wordChar(text[end]);
}

/// A sentence of help text in roff: the command's operands (and the
/// capitals before their first dot, "OUTPUT" of "OUTPUT.vlc") in italics,
/// its options in bold.
std::string sentenceRoff(std::string_view sentence, const Command& c)
{
    std::vector<std::pair<std::string, std::string>> marked; // words, roff
    const auto font = [](const std::string& word, const char* f) { return f + escaped(word) + "\\fR"; };
    for (const std::string& operand : usageOperands(c.usage)) {
        marked.emplace_back(operand, font(operand, "\\fI"));
        if (const std::size_t dot = operand.find('.'); dot != std::string::npos && dot > 1)
            marked.emplace_back(operand.substr(0, dot), font(operand.substr(0, dot), "\\fI"));
    }
    for (const Option& o : usageOptions(c.usage)) {
        marked.emplace_back(o.name, font(o.name, "\\fB"));
        if (!o.value.empty()) {
            marked.emplace_back(o.value, font(o.value, "\\fI"));
            // An option named with its value stays on one line with it.
            marked.emplace_back(o.name + " " + o.value, font(o.name, "\\fB") + "\\ " + font(o.value, "\\fI"));
        }
    }
    // A marked word is kept from being hyphenated by \% at the start of the
    // whole blank-separated word it stands in ("(--itemdesc"): one inside
    // it would mark a place where it may be split.
    std::string out;
    std::size_t wordStart = 0;
    bool guarded = false;
    for (std::size_t at = 0; at < sentence.size();) {
        const std::pair<std::string, std::string>* found = nullptr;
        for (const auto& m : marked)
            if (wordAt(sentence, at, m.first) && (!found || m.first.size() > found->first.size()))
                found = &m;
        if (found) {
            if (!guarded) {
                out.insert(wordStart, "\\%");
                guarded = true;
            }
            out += found->second;
            at += found->first.size();
        } else {
            out += escaped(sentence.substr(at, 1));
            if (sentence[at] == ' ') {
                wordStart = out.size();
                guarded = false;
            }
            ++at;
        }
    }
    return textLine(out);
}

/// The help text's sentences, its line breaks undone, for roff's one
/// sentence a line: a sentence ends at a full stop followed by a blank and
/// a capital, a quote or an option.
std::vector<std::string> sentences(std::string_view help)
{
    std::string text;
    for (char c : help)
        text += c == '\n' ? ' ' : c;
    std::vector<std::string> out;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        current += text[i];
        const bool end = text[i] == '.' && (i + 1 == text.size() ||
                                            (text[i + 1] == ' ' && i + 2 < text.size() &&
                                             (std::isupper(static_cast<unsigned char>(text[i + 2])) ||
                                              text[i + 2] == '"' || text[i + 2] == '-')));
        if (end) {
            out.push_back(current);
            current.clear();
            while (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
        }
    }
    while (!current.empty() && current.back() == ' ')
        current.pop_back();
    if (!current.empty())
        out.push_back(current);
    return out;
}

std::string synopsis()
{
    std::string out;
    for (const Command& c : cli::kCommands)
        out += ".B varnhold " + escaped(c.name) + "\n" + usageRoff(c.usage) + "\n.br\n";
    return out;
}

std::string commandList()
{
    std::string out;
    for (const Command& c : cli::kCommands)
        out += ".TP 16\n.B " + escaped(c.name) + "\n" + textLine(escaped(c.summary)) + "\n";
    return out;
}

std::string commands()
{
    std::string out;
    for (const Command& c : cli::kCommands) {
        out += ".SS " + escaped(c.name) + "\n";
        out += ".B varnhold " + escaped(c.name) + "\n" + usageRoff(c.usage) + "\n.PP\n";
        const std::vector<std::string> said = sentences(c.help);
        for (const std::string& s : said)
            out += sentenceRoff(s, c) + "\n";
        // Each option with its text in the table, the one `varnhold COMMAND
        // --help` lists, made a sentence; every option of the usage has one.
        const std::vector<cli::OptionText> texts = cli::optionTexts(c);
        const std::vector<Option> options = usageOptions(c.usage);
        if (texts.size() != options.size())
            throw std::runtime_error("the options of " + std::string(c.name) + " are not those its usage names");
        for (std::size_t i = 0; i < options.size(); ++i) {
            const Option& o = options[i];
            const std::string_view want = texts[i].option;
            if (want != (o.value.empty() ? o.name : o.name + " " + o.value))
                throw std::runtime_error("the table of " + std::string(c.name) + " describes " + std::string(want) +
                                         " where its usage names " + o.name);
            std::string sentence(texts[i].text);
            if (!sentence.empty())
                sentence.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence.front())));
            std::string tag = "\\fB" + escaped(o.name) + "\\fR";
            if (!o.value.empty())
                tag += " \\fI" + escaped(o.value) + "\\fR";
            out += ".TP\n" + tag + "\n" + sentenceRoff(sentence + ".", c) + "\n";
        }
    }
    return out;
}

/// The template with every mark put in place.
std::string page(const std::string& templateText, const std::string& version, const std::string& date)
{
    const std::map<std::string, std::string> inlineMarks = {
        {"VERSION", escaped(version)},
        {"DATE", date},
        {"EXIT_SUCCESS", std::to_string(cli::kSuccess)},
        {"EXIT_REFUSED", std::to_string(cli::kRefused)},
        {"EXIT_USAGE", std::to_string(cli::kUsage)},
    };
    const std::map<std::string, std::string> blockMarks = {
        {"SYNOPSIS", synopsis()},
        {"COMMAND_LIST", commandList()},
        {"COMMANDS", commands()},
    };
    std::string out;
    std::istringstream in(templateText);
    for (std::string line; std::getline(in, line);) {
        if (line.size() > 2 && line.front() == '@' && line.back() == '@') {
            const auto block = blockMarks.find(line.substr(1, line.size() - 2));
            if (block == blockMarks.end())
                throw std::runtime_error("unknown mark " + line);
            out += block->second;
            continue;
        }
        std::string done;
        for (std::size_t at = 0; at < line.size();) {
            if (line[at] != '@') {
                done += line[at++];
                continue;
            }
            // A mark is "@" capitals "@"; any other "@" is the page's own.
            const std::size_t end = line.find('@', at + 1);
            const std::string name = end == std::string::npos ? std::string() : line.substr(at + 1, end - at - 1);
            if (name.empty() || name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_") != std::string::npos) {
                done += line[at++];
                continue;
            }
            const auto mark = inlineMarks.find(name);
            if (mark == inlineMarks.end())
                throw std::runtime_error("unknown mark @" + name + "@");
            done += mark->second;
            at = end + 1;
        }
        out += done + "\n";
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::cerr << "usage: varnhold_manpage TEMPLATE OUTPUT VERSION DATE\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string result = page(text.str(), argv[3], argv[4]);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << result;
        out.close();
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "varnhold_manpage: " << e.what() << "\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
