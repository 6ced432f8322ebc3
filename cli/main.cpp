// varnhold: the editors' work from the command line, for scripts and
// installers. Each subcommand is a thin layer over the same core code the
// windows use, with the same refusals and the same care with game files.

// standard
#include <cstdio>
#include <new>
#include <string>
#include <vector>

// Qt
#include <QCoreApplication>

// ours
#include "cli/command.h"
#include "cli/commandtable.h"
#include "platform/console.h"
#include "platform/nativefilesystem.h"
#include "platform/process.h"

namespace {

using cli::Command;
using cli::kCommands;


std::string programHelp()
{
    std::string text = "Usage: varnhold COMMAND [ARGUMENTS]\n"
                       "       varnhold COMMAND --help\n"
                       "       varnhold --help | --version\n"
                       "\n"
                       "The Varnhold editors' work from the command line.\n"
                       "\n"
                       "Commands:\n";
    for (const Command& c : kCommands) {
        std::string name(c.name);
        name.resize(14, ' ');
        text += "  " + name + std::string(c.summary) + "\n";
    }
    text += "\n"
            "Options:\n"
            "  -h, --help     show this help, or after a command that command's, and exit\n"
            "      --version  show the version, the copyright and the licence, and exit\n"
            "\n"
            "Exit status: 0 when the work is done, 1 when it was refused or failed\n"
            "(the reason goes to standard error and nothing was written), 2 for a\n"
            "wrong command line. diff ends as diff does: 0 when the files are the same,\n"
            "1 when they differ, 2 for trouble.\n";
    return text;
}

/// A wrong command line: "varnhold: [COMMAND: ]Reason." as every refusal
/// reads, then the hint to --help.
int usage(const std::string& command, std::string text, const std::string& helpCommand)
{
    if (cli::startsWithLowerWord(text))
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    if (!text.empty() && text.back() != '.')
        text += '.';
    const std::string line = "varnhold: " + (command.empty() ? std::string() : command + ": ") + text +
                             "\nTry 'varnhold " + helpCommand + "--help'.\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return cli::kUsage;
}

/// Writes a help or version text; a failure is reported as any other.
int print(const std::string& text)
{
    if (auto written = cli::writeStandardOutput(text); !written) {
        cli::report(written);
        return cli::kRefused;
    }
    return cli::kSuccess;
}

bool wantsHelp(const std::vector<std::string>& words)
{
    for (const std::string& w : words) {
        if (w == "--")
            return false;
        if (w == "--help" || w == "-h")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    platform::useBinaryStandardStreams();

    // The system's bytes: a file name need not be UTF-8.
    std::vector<std::string> words = platform::programArguments(argc, argv);

    if (words.empty())
        return usage({}, "no command given", "");
    const std::string name = words.front();
    words.erase(words.begin());
    if (name == "--help" || name == "-h")
        return print(programHelp());
    if (name == "--version")
        return print(platform::versionText("varnhold"));

    for (const Command& c : kCommands) {
        if (c.name != name)
            continue;
        if (wantsHelp(words))
            return print(cli::commandHelp(c));
        try {
            platform::NativeFileSystem files;
            return c.run(words, files);
        } catch (const cli::UsageError& e) {
            return usage(name, e.text, name + " ");
        } catch (const std::bad_alloc&) {
            // Refused like any other failure, never an abort.
            cli::report("There is not enough memory for this work; it was stopped.");
            return cli::kRefused;
        }
    }
    return usage({}, "unknown command \"" + name + "\"", "");
}
