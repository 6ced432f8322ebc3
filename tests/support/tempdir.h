#pragma once

// A fresh folder for one test, removed with everything in it afterwards.

// standard
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    /// path() + "/" + name
    std::string file(std::string_view name) const;

private:
    std::string path_;
};

/// Writes bytes to a file, creating or truncating it (test fixtures only).
void writeFile(const std::string& path, std::string_view bytes);
/// The whole file; throws std::runtime_error when it cannot be read.
std::string readFile(const std::string& path);
/// The names in a folder, sorted (test fixtures only).
std::vector<std::string> folderEntries(const std::string& folder);
/// length bytes of a deterministic non-zero pattern, so that untouched bytes
/// show in comparisons.
std::string patternBytes(std::uint64_t length, std::uint32_t seed = 1);

/// patternBytes for a custom mercenary profile: the high byte of the name's
/// first cell, which no pass reads or writes, is zero, as in every profile
/// (a file with no zero byte is a text, never a profile).
std::string profileBytes(std::uint64_t length, std::uint32_t seed = 1);

/// The system's own words, as the native file system reports them and with a
/// capital first letter as the programs show them, for why `path` cannot be
/// read: "No such file or directory" for a missing file on Linux, "File not
/// found" under Wine.
std::string openFailureReason(const std::string& path);
/// openFailureReason() of a file that does not exist.
std::string missingFileReason();

} // namespace testsupport
