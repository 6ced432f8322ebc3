// The custom mercenary through the console program: dump and apply of
// IMP.dat and the sections of a presets file.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "tests/cli/clirun.h"

namespace {

using clitest::Cli;
using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::writeFile;

} // namespace
