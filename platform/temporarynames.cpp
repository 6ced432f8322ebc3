#include "platform/temporarynames.h"

// standard
#include <cassert>
#include <random>

namespace platform {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

std::string temporaryPrefix(std::string_view name)
{
    assert(!name.empty());
    // "." + name + ".tmp-" + the suffix within 255.
    constexpr std::size_t kMaxName = 255 - 6 - kTemporarySuffix;
    if (name.size() > kMaxName) {
        std::size_t cut = kMaxName;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // name[cut] continues a character: cut before the character
        name = name.substr(0, cut);
    }
    std::string prefix = ".";
    prefix.append(name).append(".tmp-");
    return prefix;
}

std::string temporaryName(const std::string& prefix)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name = prefix;
    for (std::size_t i = 0; i < kTemporarySuffix; ++i)
        name += kAlphabet[pick(random)];
    return name;
}

bool isTemporaryName(std::string_view entryName, std::string_view prefix)
{
    if (entryName.size() != prefix.size() + kTemporarySuffix || entryName.substr(0, prefix.size()) != prefix)
        return false;
    for (char c : entryName.substr(prefix.size()))
        if (kAlphabet.find(c) == std::string_view::npos)
            return false;
    return true;
}

} // namespace platform
