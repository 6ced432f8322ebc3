// Velloc's text form: any bytes read as lines; accepted texts written back
// by textFormLines read again as exactly the same texts, whatever line
// breaks they hold.

// standard
#include <cstddef>
#include <cstdint>
#include <string_view>

// ours
#include "platform/textlines.h"
#include "velloc/core/textform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = platform::splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const velloc::TextFormRead first = velloc::parseTextForm(lines, velloc::ItemTexts{});
    if (first.outcome != velloc::TextFormRead::Outcome::Accepted)
        return 0;
    const auto written = platform::splitLines(platform::joinLines(velloc::textFormLines(first.texts)));
    const velloc::TextFormRead again = velloc::parseTextForm(written, velloc::ItemTexts{});
    if (again.outcome != velloc::TextFormRead::Outcome::Accepted)
        __builtin_trap();
    if (!(again.texts == first.texts))
        __builtin_trap();
    return 0;
}
