#pragma once
// The running program as the system tells it: its arguments, its working
// folder and its own folder, in the form every path of ours takes. That is
// the system's own bytes on POSIX, where a file name need not be UTF-8, and
// UTF-8 on Windows, whose names are UTF-16. Converting through QString here
// would turn a name such as "out\xE9.brk" into another name.

// standard
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The arguments after the program's name. Call it once the application
/// object exists: Qt takes its own options (-style, -platform) out of argv.
std::vector<std::string> programArguments(int argc, char** argv);

/// The working folder.
std::string currentFolder();

/// The folder that holds the running program.
std::string programFolder();

/// path when it is absolute, otherwise path inside folder. "." and ".." are
/// kept for the file system to resolve: by text, "lnk/../vrn.exe" would drop
/// a link lnk and name another file.
std::string absolutePath(std::string_view folder, std::string_view path);

/// The file a desktop program was started with (its first argument), made
/// absolute against the working folder; nothing when it was given none.
inline std::optional<std::string> fileArgument(const std::vector<std::string>& arguments,
                                               std::string_view workingFolder)
{
    if (arguments.empty() || arguments.front().empty())
        return std::nullopt;
    return absolutePath(workingFolder, arguments.front());
}

/// What every program prints for "--version", as GNU programs do: "NAME
/// VERSION", the copyright line of the licence, and the licence's lines.
std::string versionText(std::string_view name);

/// What a desktop program answers on its command line before it makes any
/// window (so that it needs no display): "--help" (or "-h") prints `help`
/// and "--version" prints versionText, both on standard output, and the
/// program ends with the status given. Nothing for any other first argument
/// (a file, or none).
std::optional<int> answerDesktopOption(int argc, char** argv, std::string_view name, std::string_view help);

} // namespace platform
