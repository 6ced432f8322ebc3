// varnhold: the editors' work from the command line, for scripts and
// installers. Each subcommand is a thin layer over the same core code the
// windows use, with the same refusals and the same care with game files.

// standard
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

// Qt
#include <QCoreApplication>

// ours
#include "cli/command.h"
#include "platform/console.h"
#include "platform/nativefilesystem.h"
#include "platform/process.h"

namespace {

using cli::Command;

constexpr std::array<Command, 8> kCommands = {{
    {"brk-export", "write the attachment table of a game executable as a .brk file",
     "Reads the attachment table of GAME.EXE (any known build) and writes it as\n"
     "a .brk file. OUTPUT.brk is replaced as a whole; \"-\" writes to standard\n"
     "output. A game executable is never replaced.\n",
     "GAME.EXE OUTPUT.brk", cli::brkExport},
    {"brk-apply", "patch the rules of a .brk file into a game executable",
     "Patches the attachment rules of RULES.brk (or of another game executable)\n"
     "into the table of GAME.EXE, which must be of a known build. Only the\n"
     "table's 728 bytes are written; GAME.EXE.bak keeps the untouched file the\n"
     "first time. Rules that need more than the table's 182 entries are refused.\n",
     "RULES.brk GAME.EXE", cli::brkApply},
    {"brk-info", "show a file's build and how many table entries are free",
     "Prints one line: the file, its kind (game executable and its build, or\n"
     "Brackel file) and how many of the 182 table entries are free.\n",
     "FILE", cli::brkInfo},
    {"items-export", "write an item text file as text form (.vlc)",
     "Writes the texts of ITEMFILE as text form. The file carries no mark of its\n"
     "kind, so say it: --itemdesc for Itemdesc.edt (short name, full name,\n"
     "description), --braydesc for Braydesc.edt (name, description). OUTPUT is\n"
     "replaced as a whole; \"-\" writes to standard output.\n",
     "(--itemdesc | --braydesc) ITEMFILE OUTPUT.vlc", cli::itemsExport},
    {"items-apply", "patch the texts of a text form into an item text file",
     "Patches the texts of TEXTS.vlc into ITEMFILE, laid out as the text form's\n"
     "mode line says (Itemdesc or Braydesc). Items and fields the text form does\n"
     "not mention keep what ITEMFILE holds. A text that does not fit its field\n"
     "refuses the whole apply; ITEMFILE.bak keeps the untouched file the first\n"
     "time.\n",
     "TEXTS.vlc ITEMFILE", cli::itemsApply},
    {"names-def", "write names.def from an Itemdesc file",
     "Writes names.def, the weapon names and attachment captions the attachment\n"
     "editor reads, from the texts of ITEMDESC. Without OUTPUT it goes into the\n"
     "working folder, where the attachment editor looks for it.\n",
     "ITEMDESC [OUTPUT]", cli::namesDef},
    {"imp-dump", "print the custom mercenary of IMP.dat as a preset section",
     "Prints the profile in IMP.dat as a section of Presets.ini: the keys the\n"
     "Inventory window's presets hold, then Name, Callsign, Voice, BodyType,\n"
     "Portrait and the four colours, which that window passes over. The section\n"
     "is named after the mercenary unless --section NAME is given. Without\n"
     "OUTPUT, or with \"-\", it goes to standard output. An existing OUTPUT\n"
     "keeps its other presets: the section of that name is replaced, or the\n"
     "section is added at the end and its name to the [Presets] list. A file\n"
     "that is not a presets file is refused.\n",
     "IMP.dat [OUTPUT] [--section NAME]", cli::impDump},
    {"imp-apply", "apply a preset section to IMP.dat",
     "Reads IMP.dat, applies the section of PRESETS as the Inventory window loads\n"
     "a preset, then the further keys imp-dump writes, and saves the profile as\n"
     "the editor does (IMP.dat.bak keeps the untouched file the first time).\n"
     "--section names the section; it may be left out when PRESETS holds one.\n"
     "An unknown item, face, voice, body type or colour refuses the apply.\n",
     "PRESETS IMP.dat [--section NAME]", cli::impApply},
}};

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
            "Exit status: 0 when the work is done, 1 when it was refused or failed\n"
            "(the reason goes to standard error and nothing was written), 2 for a\n"
            "wrong command line.\n";
    return text;
}

std::string commandHelp(const Command& c)
{
    return "Usage: varnhold " + std::string(c.name) + " " + std::string(c.usage) + "\n\n" + std::string(c.help);
}

int usage(const std::string& text, const std::string& helpCommand)
{
    const std::string line = "varnhold: " + text + "\nTry 'varnhold " + helpCommand + "--help'.\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return cli::kUsage;
}

/// Writes a help or version text; a failure is reported as any other.
int print(const std::string& text)
{
    if (auto written = cli::writeStandardOutput(text); !written) {
        cli::report({}, written);
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
        return usage("no command given", "");
    const std::string name = words.front();
    words.erase(words.begin());
    if (name == "--help" || name == "-h")
        return print(programHelp());
    if (name == "--version")
        return print("varnhold " VARNHOLD_VERSION "\n");

    for (const Command& c : kCommands) {
        if (c.name != name)
            continue;
        if (wantsHelp(words))
            return print(commandHelp(c));
        try {
            platform::NativeFileSystem files;
            return c.run(words, files);
        } catch (const cli::UsageError& e) {
            return usage(name + ": " + e.text, name + " ");
        } catch (const std::bad_alloc&) {
            // Refused like any other failure, never an abort.
            cli::report({}, "There is not enough memory for this work; it was stopped.");
            return cli::kRefused;
        }
    }
    return usage("unknown command \"" + name + "\"", "");
}
