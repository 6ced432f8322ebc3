#include "cli/commandtable.h"

namespace cli {

namespace {

// A command's usage names its operands in capitals and its options as
// "--name" or "--name NAME", "[...]" around what may be left out and
// "(a | b)" around a choice; its help names them the same way.
constexpr Command kTable[] = {
    {"brk-export", "write the attachment table of a game executable as a .brk file",
     "Reads the attachment table of GAME.EXE (any known build) and writes it as\n"
     "a .brk file. OUTPUT.brk is replaced as a whole; \"-\" writes to standard\n"
     "output. A game executable is never replaced.\n",
     "GAME.EXE OUTPUT.brk", brkExport},
    {"brk-apply", "patch the rules of a .brk file into a game executable",
     "Patches the attachment rules of RULES.brk (or of another game executable)\n"
     "into the table of GAME.EXE, which must be of a known build. Only the\n"
     "table's 728 bytes are written; GAME.EXE.bak keeps the untouched file the\n"
     "first time. Rules that need more than the table's 182 entries are refused.\n",
     "RULES.brk GAME.EXE", brkApply},
    {"brk-info", "show a file's build and how many table entries are free",
     "Prints one line: the file, its kind (game executable and its build, or\n"
     "Brackel file) and how many of the 182 table entries are free.\n",
     "FILE", brkInfo},
    {"items-export", "write an item text file as text form (.vlc)",
     "Writes the texts of ITEMFILE as text form. The file carries no mark of its\n"
     "kind, so say it: --itemdesc for Itemdesc.edt (short name, full name,\n"
     "description), --braydesc for Braydesc.edt (name, description). OUTPUT is\n"
     "replaced as a whole; \"-\" writes to standard output.\n",
     "(--itemdesc | --braydesc) ITEMFILE OUTPUT.vlc", itemsExport},
    {"items-apply", "patch the texts of a text form into an item text file",
     "Patches the texts of TEXTS.vlc into ITEMFILE, laid out as the text form's\n"
     "mode line says (Itemdesc or Braydesc). Items and fields the text form does\n"
     "not mention keep what ITEMFILE holds. A text that does not fit its field\n"
     "refuses the whole apply; ITEMFILE.bak keeps the untouched file the first\n"
     "time.\n",
     "TEXTS.vlc ITEMFILE", itemsApply},
    {"names-def", "write names.def from an Itemdesc file",
     "Writes names.def, the weapon names and attachment captions the attachment\n"
     "editor reads, from the texts of ITEMDESC. Without OUTPUT it goes into the\n"
     "working folder, where the attachment editor looks for it.\n",
     "ITEMDESC [OUTPUT]", namesDef},
    {"imp-dump", "print the custom mercenary of IMP.dat as a preset section",
     "Prints the profile in IMP.dat as a section of Presets.ini: the keys the\n"
     "Inventory window's presets hold, then Name, Callsign, Voice, BodyType,\n"
     "Portrait and the four colours, which that window passes over. The section\n"
     "is named after the mercenary unless --section NAME is given. Without\n"
     "OUTPUT, or with \"-\", it goes to standard output. An existing OUTPUT\n"
     "keeps its other presets: the section of that name is replaced, or the\n"
     "section is added at the end and its name to the [Presets] list. A file\n"
     "that is not a presets file is refused.\n",
     "IMP.dat [OUTPUT] [--section NAME]", impDump},
    {"imp-apply", "apply a preset section to IMP.dat",
     "Reads IMP.dat, applies the section of PRESETS as the Inventory window loads\n"
     "a preset, then the further keys imp-dump writes, and saves the profile as\n"
     "the editor does (IMP.dat.bak keeps the untouched file the first time).\n"
     "--section names the section; it may be left out when PRESETS holds one.\n"
     "An unknown item, face, voice, body type or colour refuses the apply.\n",
     "PRESETS IMP.dat [--section NAME]", impApply},
};

} // namespace

const std::span<const Command> kCommands(kTable);

} // namespace cli
