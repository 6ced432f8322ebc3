#include "tests/support/faultyfilesystem.h"

// standard
#include <algorithm>
#include <filesystem>

namespace testsupport {

namespace {

/// "<what> <path>: <reason>", with the reason apart, as the real file system fails.
platform::Status failure(const std::string& what, const std::string& path, std::string reason)
{
    std::string message = what + " " + path + ": " + reason;
    return platform::Status::failure(std::move(message), std::move(reason));
}

// The real file, passed through; the faulty files below change only what
// they fail.
class WrappedByteFile : public platform::ByteFile {
public:
    WrappedByteFile(std::unique_ptr<platform::ByteFile> real, std::string path)
        : real_(std::move(real)), path_(std::move(path)) {}
    std::uint64_t size() const override { return real_->size(); }
    platform::Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        return real_->read(offset, out);
    }
    platform::Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
    {
        return real_->write(offset, data);
    }
    platform::Status sync() override { return real_->sync(); }
    platform::Status close() override { return real_->close(); }

protected:
    std::unique_ptr<platform::ByteFile> real_;
    std::string path_;
};

// Passes everything through but refuses every write.
class ReadOnlyByteFile final : public WrappedByteFile {
public:
    using WrappedByteFile::WrappedByteFile;
    platform::Status write(std::uint64_t, std::span<const std::uint8_t>) override
    {
        return failure("Could not write", path_, "No space left on device");
    }
};

// Writes until `budget` bytes in all have reached the file, then fails; or,
// where the program is killed there, throws Killed, and no later write,
// flush or close of the file happens. A file that recovers fails once and
// then writes on without a limit.
class BreakingByteFile final : public WrappedByteFile {
public:
    BreakingByteFile(std::unique_ptr<platform::ByteFile> real, std::string path, std::uint64_t budget, bool killed,
                     bool recovers = false)
        : WrappedByteFile(std::move(real), std::move(path)), budget_(budget), killed_(killed), recovers_(recovers) {}
    platform::Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
    {
        const std::uint64_t part = std::min<std::uint64_t>(budget_, data.size());
        if (part > 0)
            if (auto written = real_->write(offset, data.first(static_cast<std::size_t>(part))); !written)
                return written;
        budget_ -= part;
        if (part < data.size()) {
            if (recovers_)
                budget_ = UINT64_MAX;
            return fail();
        }
        return platform::Status::success();
    }
    platform::Status sync() override { return killed_ && budget_ == 0 ? fail() : real_->sync(); }
    platform::Status close() override { return killed_ && budget_ == 0 ? fail() : real_->close(); }

private:
    platform::Status fail()
    {
        if (killed_)
            throw Killed{};
        return failure("Could not write", path_, "Input/output error");
    }
    std::uint64_t budget_;
    bool killed_;
    bool recovers_;
};

} // namespace

platform::Result<std::unique_ptr<platform::ByteFile>> FaultyFileSystem::openExisting(const std::string& path,
                                                                                     platform::Access access)
{
    runBeforeOpen(path);
    if (failOpen.count(path))
        return failure("Could not open", path, "the file is in use by another program");
    if (readOnly.count(path) && access != platform::Access::Read)
        return failure("Could not open", path, "Permission denied");
    auto file = real_.openExisting(path, access);
    if (file && failWrite.count(path))
        return std::unique_ptr<platform::ByteFile>(std::make_unique<ReadOnlyByteFile>(std::move(*file), path));
    if (auto after = failWriteAfter.find(path); file && after != failWriteAfter.end())
        return std::unique_ptr<platform::ByteFile>(
            std::make_unique<BreakingByteFile>(std::move(*file), path, after->second, false));
    if (auto after = failWriteOnceAfter.find(path); file && after != failWriteOnceAfter.end())
        return std::unique_ptr<platform::ByteFile>(
            std::make_unique<BreakingByteFile>(std::move(*file), path, after->second, false, true));
    if (auto after = killAfter.find(path); file && after != killAfter.end() && access != platform::Access::Read)
        return std::unique_ptr<platform::ByteFile>(
            std::make_unique<BreakingByteFile>(std::move(*file), path, after->second, true));
    return file;
}

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::Vanishes: return "Vanishes";
    case Fault::ReadOnly: return "ReadOnly";
    case Fault::Locked: return "Locked";
    case Fault::Shortened: return "Shortened";
    case Fault::DiskFull: return "DiskFull";
    case Fault::BackupFails: return "BackupFails";
    case Fault::BreaksMidway: return "BreaksMidway";
    }
    return "?";
}

void FaultyFileSystem::inject(Fault fault, const std::string& path)
{
    switch (fault) {
    case Fault::Vanishes:
        beforeOpen[path] = [path] { std::filesystem::remove(path); };
        break;
    case Fault::ReadOnly:
        readOnly.insert(path);
        break;
    case Fault::Locked:
        failOpen.insert(path);
        break;
    case Fault::Shortened:
        beforeOpen[path] = [path] { std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2); };
        break;
    case Fault::DiskFull:
        failReplace.insert(path);
        break;
    case Fault::BackupFails:
        failReplace.insert(path + ".bak");
        break;
    case Fault::BreaksMidway:
        failWriteAfter[path] = 10;
        break;
    }
}

void FaultyFileSystem::clearFaults()
{
    failOpen.clear();
    failRead.clear();
    failReplace.clear();
    failWrite.clear();
    readOnly.clear();
    failWriteAfter.clear();
    failWriteOnceAfter.clear();
    failRemove.clear();
    killAfter.clear();
    killOnRemove.clear();
    beforeOpen.clear();
}

void FaultyFileSystem::runBeforeOpen(const std::string& path)
{
    if (auto hook = beforeOpen.find(path); hook != beforeOpen.end()) {
        const auto action = std::move(hook->second);
        beforeOpen.erase(hook);
        action();
    }
}

platform::Result<std::string> FaultyFileSystem::readAll(const std::string& path)
{
    if (failRead.count(path))
        return failure("Could not read", path, "Permission denied");
    return real_.readAll(path);
}

platform::Status FaultyFileSystem::wholeWriteFault(const std::string& path)
{
    runBeforeOpen(path);
    if (failOpen.count(path))
        return failure("Could not save", path, "the file is in use by another program");
    if (failReplace.count(path))
        return failure("Could not write", path, "No space left on device");
    if (readOnly.count(path))
        return failure("Could not save", path, "Permission denied");
    return platform::Status::success();
}

platform::Status FaultyFileSystem::replaceAtomically(const std::string& path, std::string_view bytes)
{
    if (auto refused = wholeWriteFault(path); !refused)
        return refused;
    return real_.replaceAtomically(path, bytes);
}

platform::Status FaultyFileSystem::createNew(const std::string& path, std::string_view bytes)
{
    if (auto refused = wholeWriteFault(path); !refused)
        return refused;
    return real_.createNew(path, bytes);
}

} // namespace testsupport
