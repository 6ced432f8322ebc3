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
     "first time. Rules that need more than the table's 182 entries are refused.\n"
     "With --dry-run every check is made and nothing is written: each weapon\n"
     "whose attachments would change is printed on a line of its own, by its\n"
     "item number and its name in names.def of the working folder, when that is\n"
     "there, with what it gains and loses (\"20 G41: +silencer -bipod\").\n",
     "RULES.brk GAME.EXE [--dry-run]", brkApply,
     "--dry-run\tmake every check, write nothing, and print what would change\n"},
    {"brk-info", "show a file's build and how many table entries are free",
     "Prints one line: the file, its kind (game executable and its build, or\n"
     "Brackel file) and how many of the 182 table entries are free.\n",
     "FILE", brkInfo},
    {"items-export", "write an item text file as text form (.vlc) or as PO file",
     "Writes the texts of ITEMFILE as text form. The file carries no mark of its\n"
     "kind, so say it: --itemdesc for Itemdesc.edt (short name, full name,\n"
     "description), --braydesc for Braydesc.edt (name, description). OUTPUT is\n"
     "replaced as a whole; \"-\" writes to standard output. With --po OUTPUT is a\n"
     "GNU gettext PO template for translators' tools instead: UTF-8, one entry\n"
     "per non-empty field, its context the item and field (\"item 7 short\n"
     "name\"), its msgid the text and its msgstr empty. The texts are read in the\n"
     "code page of --codepage (874, 1250 to 1258), or the system's without it;\n"
     "the header names the code page and the layout. --codepage goes with --po\n"
     "alone: a text form holds the texts' bytes as they are.\n",
     "(--itemdesc | --braydesc) ITEMFILE OUTPUT.vlc [--po [--codepage NNNN]]", itemsExport,
     "--itemdesc\tITEMFILE is an Itemdesc.edt: short name, full name, description\n"
     "--braydesc\tITEMFILE is a Braydesc.edt: name, description\n"
     "--po\twrite a PO template for translators instead of a text form\n"
     "--codepage NNNN\twith --po only: read the texts in code page NNNN (874, 1250 to 1258) "
     "instead of the system's\n"},
    {"items-apply", "patch the texts of a text form into an item text file",
     "Patches the texts of TEXTS.vlc into ITEMFILE, laid out as the text form's\n"
     "mode line says (Itemdesc or Braydesc). Items and fields the text form does\n"
     "not mention keep what ITEMFILE holds. A text that does not fit its field\n"
     "refuses the whole apply; ITEMFILE.bak keeps the untouched file the first\n"
     "time. With --dry-run every check is made and nothing is written: each\n"
     "field that would change is printed on a line of its own, with its old and\n"
     "new text in C-style quotes (item 7 short name: \"Knife\" -> \"Dagger\").\n"
     "A TEXTS file whose name ends in .po is a PO file, as items-export --po\n"
     "writes it and a translator fills it in: its header tells the layout, and\n"
     "each entry with a translation that is not marked fuzzy is patched in, in\n"
     "the code page of --codepage (874, 1250 to 1258) or the system's; a text\n"
     "form holds the texts' bytes as they are and takes no --codepage. An entry\n"
     "whose context names no item and field, whose msgid is no longer the file's\n"
     "text, or whose translation the code page or its field cannot hold refuses\n"
     "the apply.\n",
     "TEXTS.vlc ITEMFILE [--dry-run] [--codepage NNNN]", itemsApply,
     "--dry-run\tmake every check, write nothing, and print what would change\n"
     "--codepage NNNN\tfor a PO file (TEXTS.po) only: write its translations in code page NNNN "
     "(874, 1250 to 1258) instead of the system's\n"},
    {"names-def", "write names.def from an Itemdesc file",
     "Writes names.def, the weapon names and attachment captions the attachment\n"
     "editor reads, from the texts of ITEMDESC. Without OUTPUT it goes into the\n"
     "working folder, where the attachment editor looks for it. Both item text\n"
     "files have one length: a file not named Itemdesc.edt (in any letter case)\n"
     "is taken only with --itemdesc, and a Braydesc.edt never.\n",
     "ITEMDESC [OUTPUT] [--itemdesc]", namesDef,
     "--itemdesc\ttake ITEMDESC as an Itemdesc.edt, whatever its name\n"},
    {"imp-dump", "print the custom mercenary of IMP.dat as a preset section",
     "Prints the profile in IMP.dat as a section of Presets.ini: the keys the\n"
     "Inventory window's presets hold, then Name, Callsign, Voice, BodyType,\n"
     "Portrait and the four colours, which that window passes over. The section\n"
     "is named after the mercenary unless --section NAME is given. Without\n"
     "OUTPUT, or with \"-\", it goes to standard output. An existing OUTPUT\n"
     "keeps its other presets: the section of that name is replaced, or the\n"
     "section is added at the end and its name to the [Presets] list. A file\n"
     "that is not a presets file is refused.\n",
     "IMP.dat [OUTPUT] [--section NAME]", impDump,
     "--section NAME\tname the section NAME instead of after the mercenary\n"},
    {"imp-apply", "apply a preset section to IMP.dat",
     "Reads IMP.dat, applies the section of PRESETS as the Inventory window loads\n"
     "a preset, then the further keys imp-dump writes, and saves the profile as\n"
     "the editor does (IMP.dat.bak keeps the untouched file the first time).\n"
     "--section names the section; it may be left out when PRESETS holds one.\n"
     "An unknown item, face, voice, body type or colour refuses the apply.\n"
     "With --dry-run every check is made and nothing is written: each field that\n"
     "would change is printed on a line of its own, named by its key as imp-dump\n"
     "writes it, with its old and new value (Strength: 55 -> 60).\n",
     "PRESETS IMP.dat [--section NAME] [--dry-run]", impApply,
     "--section NAME\tapply the section NAME; needed when PRESETS holds more than one\n"
     "--dry-run\tmake every check, write nothing, and print what would change\n"},
    {"diff", "print what changes from one file to another of its kind",
     "Compares two files of one kind and prints what changes from A to B, one\n"
     "change a line, as the dry runs print them. The kinds are the attachment\n"
     "rules of a game executable or a .brk file; the texts of an item text file\n"
     "or a text form; the custom mercenary of IMP.dat or a preset section. An\n"
     "item text file carries no mark of its layout, so --itemdesc or --braydesc\n"
     "says it, unless a text form beside it does; a text form is read over the\n"
     "item text file, as items-apply reads it. --section names the section of a\n"
     "presets file; it may be left out when the file holds one. The exit status\n"
     "is that of diff: 0 when nothing changes, 1 when something does, 2 for\n"
     "trouble (a wrong command line, a file that cannot be read, files of two\n"
     "kinds).\n",
     "A B [--itemdesc | --braydesc] [--section NAME]", diff,
     "--itemdesc\tread item text files as Itemdesc.edt: short name, full name, description\n"
     "--braydesc\tread item text files as Braydesc.edt: name, description\n"
     "--section NAME\tcompare the section NAME of a presets file; needed when it holds more than one\n"},
    {"restore", "put the backup FILE.bak back in place of FILE",
     "Puts FILE.bak, the untouched file that the first patch of FILE kept, back\n"
     "in place of FILE, a game executable of a known build, an item text file or\n"
     "IMP.dat. The bytes the editors own in FILE that differ are patched under a\n"
     "journal, as every patch is, so FILE is never left half-written; other bytes\n"
     "are left, and how many differ is said. FILE.bak stays. A missing backup,\n"
     "one that is not a regular file or is not as long as FILE, and a FILE that\n"
     "another program holds refuse the restore. With --dry-run every check is\n"
     "made and nothing is written: what the restore would undo is printed as the\n"
     "dry runs of the applies print it. For an item text file --itemdesc or\n"
     "--braydesc says its layout; otherwise a name holding \"braydesc\" is read as\n"
     "Braydesc.edt, any other as Itemdesc.edt.\n",
     "FILE [--dry-run] [--itemdesc | --braydesc]", restore,
     "--dry-run\tmake every check, write nothing, and print what would be undone\n"
     "--itemdesc\tfor the dry run: FILE is an item text file laid out as Itemdesc.edt\n"
     "--braydesc\tfor the dry run: FILE is an item text file laid out as Braydesc.edt\n"},
};

} // namespace

const std::span<const Command> kCommands(kTable);

} // namespace cli
