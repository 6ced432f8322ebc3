#include "tests/support/tempdir.h"

// standard
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

// ours
#include "platform/nativefilesystem.h"
#include "platform/paths.h"

namespace testsupport {

TempDir::TempDir()
{
    // A new folder under a name nobody else uses; create_directory fails
    // rather than reuse one that exists.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("varnhold-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Tests may leave read-only files and folders behind; make them writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const
{
    return platform::joinPath(path_, name);
}

void writeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string patternBytes(std::uint64_t length, std::uint32_t seed)
{
    std::string bytes(length, '\0');
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        unsigned char v = static_cast<unsigned char>(state >> 24);
        b = static_cast<char>(v == 0 ? 0x5A : v);
    }
    return bytes;
}

std::string profileBytes(std::uint64_t length, std::uint32_t seed)
{
    std::string bytes = patternBytes(length, seed);
    if (bytes.size() > 9)
        bytes[9] = '\0';
    return bytes;
}

std::string openFailureReason(const std::string& path)
{
    platform::NativeFileSystem files;
    std::string reason = files.readAll(path).reason();
    if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z')
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    return reason;
}

std::string missingFileReason()
{
    static const std::string reason =
        openFailureReason((std::filesystem::temp_directory_path() / "varnhold-test-no-such-file").string());
    return reason;
}

} // namespace testsupport
