// The item texts through the console program: round trips of the text form that
// keep every byte of the item file.

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
