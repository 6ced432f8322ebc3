#pragma once
// The console program's subcommands, in the order --help lists them: the one
// table that main() runs and prints, and from which the manual page
// varnhold(1) is made at build time (cli/manpage.cpp), so that the page and
// --help cannot say different things.

// standard
#include <span>

// ours
#include "cli/command.h"

namespace cli {

extern const std::span<const Command> kCommands;

} // namespace cli
