#include "platform/bytefilechecks.h"

// standard
#include <random>

namespace platform {

namespace {

bool inside(std::uint64_t size, std::uint64_t offset, std::size_t count)
{
    return offset <= size && count <= size - offset;
}

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

Status fileFailure(std::string_view what, const std::string& path, std::string why)
{
    std::string message = std::string(what) + " " + path + ": " + why;
    return Status::failure(std::move(message), std::move(why), path);
}

Status checkRead(bool open, const std::string& path, std::uint64_t size, std::uint64_t offset, std::size_t count)
{
    if (!open)
        return fileFailure("Could not read", path, "the file is closed");
    if (!inside(size, offset, count))
        return fileFailure("Could not read", path,
                           std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                               " lie beyond the end of the file (" + std::to_string(size) + " bytes)");
    return Status::success();
}

Status checkWrite(bool open, bool writable, const std::string& path, std::uint64_t size, std::uint64_t offset,
                  std::size_t count)
{
    if (!open)
        return fileFailure("Could not write", path, "the file is closed");
    if (!writable)
        return fileFailure("Could not write", path, "the file is open for reading only");
    if (!inside(size, offset, count))
        return fileFailure("Could not write", path,
                           std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                               " would extend the file beyond its " + std::to_string(size) + " bytes");
    return Status::success();
}

std::string temporaryPrefix(std::string_view name)
{
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
