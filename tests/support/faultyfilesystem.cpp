#include "tests/support/faultyfilesystem.h"

namespace testsupport {

namespace {

// Passes everything through but refuses every write.
class ReadOnlyByteFile final : public platform::ByteFile {
public:
    ReadOnlyByteFile(std::unique_ptr<platform::ByteFile> real, std::string path)
        : real_(std::move(real)), path_(std::move(path)) {}
    std::uint64_t size() const override { return real_->size(); }
    platform::Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        return real_->read(offset, out);
    }
    platform::Status write(std::uint64_t, std::span<const std::uint8_t>) override
    {
        return platform::Status::failure("Could not write " + path_ + ": No space left on device");
    }
    platform::Status close() override { return real_->close(); }

private:
    std::unique_ptr<platform::ByteFile> real_;
    std::string path_;
};

} // namespace

platform::Result<std::unique_ptr<platform::ByteFile>> FaultyFileSystem::openExisting(const std::string& path,
                                                                                     platform::Access access)
{
    if (failOpen.count(path))
        return platform::Status::failure("Could not open " + path + ": the file is in use by another program");
    auto file = real_.openExisting(path, access);
    if (file && failWrite.count(path))
        return std::unique_ptr<platform::ByteFile>(std::make_unique<ReadOnlyByteFile>(std::move(*file), path));
    return file;
}

platform::Result<std::string> FaultyFileSystem::readAll(const std::string& path)
{
    if (failRead.count(path))
        return platform::Status::failure("Could not read " + path + ": Permission denied");
    return real_.readAll(path);
}

platform::Status FaultyFileSystem::replaceAtomically(const std::string& path, std::string_view bytes)
{
    if (failReplace.count(path))
        return platform::Status::failure("Could not write " + path + ": No space left on device");
    return real_.replaceAtomically(path, bytes);
}

} // namespace testsupport
