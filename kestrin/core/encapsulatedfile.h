#pragma once

// Byte access to IMP.dat: the file is opened for Kestrin's exclusive use,
// never created, never extended, and every access goes to an absolute
// offset set just before it.

// standard
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// ours
#include "platform/filesystem.h"

namespace kestrin {

class TEncapsulatedFile {
public:
    /// Opens the existing file for reading and writing, for Kestrin alone.
    /// Throws Error naming the file when it cannot be opened, or when it is
    /// shorter than the record (578 bytes).
    TEncapsulatedFile(platform::FileSystem& files, const std::string& path);
    /// Closes the file.
    ~TEncapsulatedFile();

    void SetAccessOffset(std::int32_t offset) { offset_ = offset; }
    std::int32_t accessOffset() const { return offset_; }
    /// Throws Error when the byte cannot be read (past the end).
    std::uint8_t ReadByte();
    /// Throws Error when the byte cannot be written; never extends the file.
    void WriteByte(std::uint8_t value);
    /// Flushes and closes; throws Error when that fails.
    void close();
    /// The file as it is held, for the backup made from the held file.
    platform::ByteFile& held() { return *file_; }
    /// How many bytes WriteByte has put into the file.
    std::uint64_t bytesWritten() const { return written_; }

private:
    std::unique_ptr<platform::ByteFile> file_;
    std::string path_;
    std::int32_t offset_ = 0;
    std::uint64_t written_ = 0;
};

/// One byte per character from the offset on; no terminator is added.
void WriteNarrowText(TEncapsulatedFile& file, std::string_view text, std::int32_t offset);
/// At most `limit` bytes from the offset, stopping before the first zero.
std::string ReadNarrowText(TEncapsulatedFile& file, std::int32_t offset, int limit);
/// Character i to the low byte of cell i (offset + 2i), then a zero low byte
/// in every remaining cell; the high bytes are never written.
void WriteCellText(TEncapsulatedFile& file, std::string_view text, std::int32_t offset, int cells);
/// The low bytes of the cells in order; zero bytes add nothing.
std::string ReadCellText(TEncapsulatedFile& file, std::int32_t offset, int cells);

} // namespace kestrin
