// .brk reader: any bytes read as lines; a recognised file written back by
// brkLines reads again as the same model.

// standard
#include <cstddef>
#include <cstdint>
#include <string_view>

// ours
#include "brackel/core/brkfile.h"
#include "platform/textlines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = platform::splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const brackel::BrkParse first = brackel::parseBrk(lines);
    if (first.outcome != brackel::BrkParse::Outcome::Recognized)
        return 0;
    const auto written = brackel::brkLines(first.contents.flags, first.contents.remaining);
    const brackel::BrkParse again = brackel::parseBrk(written);
    if (again.outcome != brackel::BrkParse::Outcome::Recognized)
        __builtin_trap();
    if (!(again.contents.flags == first.contents.flags) || again.contents.remaining != first.contents.remaining)
        __builtin_trap();
    return 0;
}
