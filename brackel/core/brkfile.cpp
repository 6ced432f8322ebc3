#include "brackel/core/brkfile.h"

// standard
#include <charconv>
#include <limits>

// ours
#include "platform/ascii.h"

namespace brackel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string lineError(std::size_t index, const std::string& what)
{
    return "line " + std::to_string(index + 1) + ": " + what;
}

} // namespace

BrkParse parseBrk(const platform::TextLines& lines)
{
    BrkParse result;
    std::size_t i = 0;
    while (i < lines.size() && lines[i].find("mode=brackel") == std::string_view::npos)
        ++i;
    if (i == lines.size())
        return result;

    BrkContents contents;
    bool inMain = false;
    for (++i; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!inMain) {
            if (line.compare(0, 7, "addons=") == 0) {
                std::string_view text = line.substr(7);
                while (!text.empty() && text.back() == ' ')
                    text.remove_suffix(1);
                int value = 0;
                auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
                if (ec != std::errc() || end != text.data() + text.size() || text.empty() ||
                    value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max()) {
                    result.outcome = BrkParse::Outcome::Malformed;
                    result.error = lineError(i, "the count of free entries \"" + platform::quotedLine(text) +
                                                    "\" is not a number.");
                    return result;
                }
                contents.remaining = value;
            }
            if (line.find("[main]") != std::string_view::npos)
                inMain = true;
            continue;
        }

        if (line.empty())
            continue;
        if (line.size() < 11 || !isDigit(line[0]) || !isDigit(line[1])) {
            result.outcome = BrkParse::Outcome::Malformed;
            result.error = lineError(i, "\"" + platform::quotedLine(line) + "\" is not an entry line (such as 04=10001000).");
            return result;
        }
        const int position = (line[0] - '0') * 10 + (line[1] - '0');
        if (position >= kWeaponCount) {
            result.outcome = BrkParse::Outcome::Malformed;
            result.error = lineError(i, "weapon position " + std::string(line.substr(0, 2)) + " lies outside 00 to 64.");
            return result;
        }
        for (const KindInfo& k : kKinds) {
            const char c = line[3 + k.brkColumn];
            if (!isDigit(c)) {
                result.outcome = BrkParse::Outcome::Malformed;
                result.error = lineError(i, "\"" + platform::quotedLine(line) + "\" holds a flag that is not a digit.");
                return result;
            }
            contents.flags.set(k.kind, position, c == '1');
        }
    }

    result.outcome = BrkParse::Outcome::Recognized;
    result.contents = contents;
    return result;
}

std::vector<std::string> brkLines(const Flags& flags, int remaining)
{
    std::vector<std::string> lines = {"[head]", "mode=brackel", "version=2.0",
                                      "addons=" + std::to_string(remaining), "", "[main]"};
    lines.reserve(6 + kWeaponCount);
    for (int p = 0; p < kWeaponCount; ++p) {
        std::string line = "00=00000000";
        line[0] = static_cast<char>('0' + p / 10);
        line[1] = static_cast<char>('0' + p % 10);
        for (const KindInfo& k : kKinds)
            if (flags.get(k.kind, p))
                line[3 + k.brkColumn] = '1';
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace brackel
