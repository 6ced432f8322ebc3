#pragma once
// What every subcommand of the console program shares: its parsed
// arguments, the way it reports, and the exit statuses.

// standard
#include <map>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace cli {

enum Exit : int {
    kSuccess = 0,
    kRefused = 1, // the work was refused or failed; nothing was written
    kUsage = 2,   // the command line was wrong
};

/// A usage error: thrown while reading the arguments, reported with a hint
/// to --help and exit status 2.
struct UsageError {
    std::string text;
};

/// The arguments after the subcommand's name.
class Arguments {
public:
    /// Splits words into operands and options. Options are "--name VALUE",
    /// "--name=VALUE" or a lone "--flag"; `valued` names the options that
    /// take a value, `flags` those that take none. "--" ends the options.
    Arguments(const std::vector<std::string>& words, const std::vector<std::string_view>& valued,
              const std::vector<std::string_view>& flags);
    const std::vector<std::string>& operands() const { return operands_; }
    bool has(std::string_view option) const { return options_.count(std::string(option)) != 0; }
    std::string value(std::string_view option) const;
    /// Throws UsageError unless there are between `least` and `most` operands.
    void expectOperands(std::size_t least, std::size_t most) const;

private:
    std::vector<std::string> operands_;
    std::map<std::string, std::string> options_;
};

/// One line on standard error, "varnhold: FILE: Reason." for a failure of
/// a file, "varnhold: Reason." for one of no file: the failure's message
/// with its line breaks turned into spaces (a full stop added where a line
/// ended a sentence without one), its first letter a capital and a full stop
/// at its end. A failure that gives its reason apart, and whose message names
/// no other file, gives its reason after the file (the message is the
/// window's wording); one whose message names this very file
/// (failure.path()) is shown whole. A file's control bytes are shown as
/// \xNN, and an empty name as ''.
void report(const std::string& file, const platform::Status& failure);

/// A note or refusal worded here, which never names the file itself.
void report(const std::string& file, std::string_view message);

/// A failure of no file: standard output, memory.
void report(const platform::Status& failure);
void report(std::string_view message);

/// Whether the text starts with a word of small letters alone, which a
/// sentence starts with a capital; a file's name is never changed.
bool startsWithLowerWord(std::string_view text);

/// Reports each note the file system took for the user (an unfinished
/// patch rolled back, or shown rolled back), each of which names the file.
void reportNotes(platform::FileSystem& files, const std::string& file);

/// Writes the bytes to standard output; a failure says so ("Could not write
/// to standard output"). When standard output is a file, nothing is written
/// into the input file (when one is given) or into a file that is not a text
/// file of ours (platform::checkStandardOutput).
platform::Status writeStandardOutput(std::string_view bytes, const std::string& input = {});

/// Refuses an output that is the input file itself under any of its names
/// (a hard link, a symbolic link, another spelling): "The output is the
/// input file itself.", then "Nothing was written.".
platform::Status checkNotInput(const std::string& output, const std::string& input);

/// Writes the lines (each ended by CR LF) to the path through the text-file
/// writer, or to standard output for "-". The output is refused when it is
/// the input file itself, and, by the writer, when it is a game file or any
/// other file that is not a text file of ours.
platform::Status writeOutput(platform::FileSystem& files, const std::string& output,
                             const std::vector<std::string>& lines, const std::string& input);

struct Command {
    std::string_view name;
    std::string_view summary; // one line for the program's --help
    std::string_view help;    // the subcommand's --help, after its usage line
    std::string_view usage;   // "GAME.EXE OUTPUT.brk"
    int (*run)(const std::vector<std::string>& words, platform::FileSystem& files);
    /// Each option of the usage on a line of its own: the option as the
    /// usage writes it ("--section NAME"), a tab, and what it does, in one
    /// sentence that starts in lower case and has no full stop at its end.
    std::string_view options = {};
};

/// The options of a command's table entry: the option as the usage writes
/// it, and what it does.
struct OptionText {
    std::string_view option; // "--section NAME"
    std::string_view text;   // "name the section ..."
};
std::vector<OptionText> optionTexts(const Command& c);

/// The command's --help: its usage, wrapped at 79 columns, its help text,
/// and its options, --help among them.
std::string commandHelp(const Command& c);

// The subcommands, by file kind.
int brkExport(const std::vector<std::string>& words, platform::FileSystem& files);
int brkApply(const std::vector<std::string>& words, platform::FileSystem& files);
int brkInfo(const std::vector<std::string>& words, platform::FileSystem& files);
int itemsExport(const std::vector<std::string>& words, platform::FileSystem& files);
int itemsApply(const std::vector<std::string>& words, platform::FileSystem& files);
int namesDef(const std::vector<std::string>& words, platform::FileSystem& files);
int impDump(const std::vector<std::string>& words, platform::FileSystem& files);
int impApply(const std::vector<std::string>& words, platform::FileSystem& files);
int diff(const std::vector<std::string>& words, platform::FileSystem& files);
int restore(const std::vector<std::string>& words, platform::FileSystem& files);

} // namespace cli
