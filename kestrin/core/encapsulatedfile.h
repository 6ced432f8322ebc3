#pragma once

// Byte access to the profile record of IMP.dat. The record's bytes are read
// from the file, and written back, through the one game-file path
// (platform/gamefilepatch.h), under one exclusive hold; in between, every
// access goes to an absolute offset set just before it, one byte at a time,
// and never past the record. A byte access outside the record raises
// RecordAccessError, the one exception of Kestrin's core: the read and save
// passes that walk the record catch it and give it back as a Status.

// standard
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/journal.h"
#include "platform/result.h"

namespace kestrin {

/// The bytes Kestrin owns in IMP.dat at `path`: the record at its start.
/// A file shorter than the record, or of a length that tells another game
/// file, is refused ("Cannot use file ...").
platform::OwnedBytes profileRecord(const std::string& path);

/// Success, or the refusal ("Cannot use file ...", its reason apart and the
/// file named) of a record whose bytes tell a file that is no profile
/// (platform::notAProfile): a text file or a Windows program.
platform::Status checkProfileRecord(std::span<const std::uint8_t> record, const std::string& path);

/// What ReadByte and WriteByte raise for a byte outside the record: "Could
/// not read PATH: offset 578 lies outside the profile record".
class RecordAccessError : public std::runtime_error {
public:
    RecordAccessError(const std::string& message, std::string path)
        : std::runtime_error(message), path_(std::move(path))
    {
    }
    /// The failure as a pass gives it back, naming the file.
    platform::Status status() const { return platform::Status::failure(what(), {}, path_); }

private:
    std::string path_;
};

class TEncapsulatedFile {
public:
    /// Byte access to the record of the file at `path`, as `record` holds it.
    TEncapsulatedFile(std::vector<std::uint8_t>& record, std::string path) : record_(record), path_(std::move(path))
    {
    }

    void SetAccessOffset(std::int32_t offset) { offset_ = offset; }
    std::int32_t accessOffset() const { return offset_; }
    /// Throws RecordAccessError when the byte lies outside the record.
    std::uint8_t ReadByte();
    /// Throws RecordAccessError when the byte lies outside the record; the
    /// record is then unchanged.
    void WriteByte(std::uint8_t value);

private:
    std::uint8_t& at(const char* what);

    std::vector<std::uint8_t>& record_;
    std::string path_;
    std::int32_t offset_ = 0;
};

// The text encodings, byte by byte through the file: a byte outside the
// record raises RecordAccessError, as ReadByte and WriteByte do.

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
