// names.def reader: any bytes read as lines; every caption shows its
// ampersands, so each run of them is of even length.

// standard
#include <cstddef>
#include <cstdint>
#include <string_view>

// ours
#include "brackel/core/namesfile.h"
#include "platform/textlines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = platform::splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const brackel::Names names = brackel::parseNames(lines);
    for (const std::string& caption : names.captions) {
        std::size_t run = 0;
        for (char c : caption) {
            if (c == '&') {
                ++run;
                continue;
            }
            if (run % 2 != 0)
                __builtin_trap();
            run = 0;
        }
        if (run % 2 != 0)
            __builtin_trap();
    }
    return 0;
}
