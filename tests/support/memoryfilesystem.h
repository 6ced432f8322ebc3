#pragma once

// A file system held in memory for the fuzz targets: the input becomes a
// file without touching the disk, so every run sees exactly its own bytes.

// standard
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

// ours
#include "platform/filesystem.h"

namespace fuzz {

class MemoryFileSystem final : public platform::FileSystem {
public:
    std::map<std::string, std::string> files;

    bool isFile(const std::string& path) override { return files.count(path) != 0; }

    platform::Result<std::uint64_t> length(const std::string& path) override
    {
        auto it = files.find(path);
        if (it == files.end())
            return platform::Status::failure("No file " + path);
        return std::uint64_t(it->second.size());
    }

    platform::Status remove(const std::string& path) override
    {
        files.erase(path);
        return platform::Status::success();
    }

    platform::Result<std::unique_ptr<platform::ByteFile>> openExisting(const std::string& path,
                                                                       platform::Access) override
    {
        auto it = files.find(path);
        if (it == files.end())
            return platform::Status::failure("No file " + path);
        return std::unique_ptr<platform::ByteFile>(std::make_unique<File>(it->second));
    }

    platform::Result<std::string> readAll(const std::string& path) override
    {
        auto it = files.find(path);
        if (it == files.end())
            return platform::Status::failure("No file " + path);
        return it->second;
    }

    platform::Status replaceAtomically(const std::string& path, std::string_view bytes) override
    {
        files[path] = std::string(bytes);
        return platform::Status::success();
    }

    platform::Result<platform::Entry> entry(const std::string& path) override
    {
        auto it = files.find(path);
        if (it == files.end())
            return platform::Entry{};
        return platform::Entry{platform::Entry::Kind::Regular, it->second.size(), 1};
    }

    platform::Status createNew(const std::string& path, std::string_view bytes) override
    {
        if (!files.emplace(path, std::string(bytes)).second)
            return platform::Status::failure("Could not save " + path + ": it exists");
        return platform::Status::success();
    }

    platform::Status checkCreatable(const std::string&) override { return platform::Status::success(); }
    platform::Status removeLeftovers(const std::string&) override { return platform::Status::success(); }

    platform::Result<std::unique_ptr<platform::UpdateHold>> holdUpdates(const std::string&,
                                                                        std::chrono::milliseconds) override
    {
        return std::unique_ptr<platform::UpdateHold>(std::make_unique<platform::UpdateHold>());
    }

private:
    class File final : public platform::ByteFile {
    public:
        explicit File(std::string& bytes) : bytes_(bytes) {}
        std::uint64_t size() const override { return bytes_.size(); }
        platform::Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
        {
            if (offset > bytes_.size() || out.size() > bytes_.size() - offset)
                return platform::Status::failure("read past the end");
            if (!out.empty())
                std::memcpy(out.data(), bytes_.data() + offset, out.size());
            return platform::Status::success();
        }
        platform::Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
        {
            if (offset > bytes_.size() || data.size() > bytes_.size() - offset)
                return platform::Status::failure("write past the end");
            if (!data.empty())
                std::memcpy(bytes_.data() + offset, data.data(), data.size());
            return platform::Status::success();
        }
        platform::Status sync() override { return platform::Status::success(); }
        platform::Status close() override { return platform::Status::success(); }

    private:
        std::string& bytes_;
    };
};

} // namespace fuzz
