// Velloc's text form: any bytes read as lines; accepted texts written back
// by textFormLines read again as the same texts.

// standard
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// ours
#include "platform/textlines.h"
#include "velloc/textform.h"

namespace {

// A line break inside a text is written as CR LF, whatever it was read as.
std::string normalised(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

velloc::ItemTexts normalised(velloc::ItemTexts texts)
{
    for (auto* field : {&texts.shortNames, &texts.fullNames, &texts.descriptions})
        for (auto& text : *field)
            text = normalised(text);
    return texts;
}

} // namespace

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
    if (!(normalised(again.texts) == normalised(first.texts)))
        __builtin_trap();
    return 0;
}
