#pragma once

// Another program holding a file open the way the game holds its files: on
// POSIX systems with an exclusive lock, on Windows without sharing it.

// standard
#include <cstdint>
#include <string>

namespace testsupport {

class FileHolder {
public:
    /// Holds the file until destroyed; held() tells whether that worked.
    explicit FileHolder(const std::string& path);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool held() const { return held_; }

private:
    bool held_ = false;
    std::intptr_t handle_ = -1;
};

} // namespace testsupport
