#include "kestrin/core/encapsulatedfile.h"

// standard
#include <cctype>
#include <span>

// ours
#include "kestrin/core/profile.h"
#include "kestrin/core/profilerecord.h"
#include "platform/gamefiles.h"

namespace kestrin {

namespace {

/// The system's reason from a platform message "Could not open <path>:
/// <reason>", with a capital first letter; the whole message when it does
/// not have that form.
std::string openReason(const std::string& message, const std::string& path)
{
    std::string reason = message;
    const std::string marker = path + ": ";
    if (const auto at = message.find(marker); at != std::string::npos && at + marker.size() < message.size())
        reason = message.substr(at + marker.size());
    if (!reason.empty())
        reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    return reason;
}

} // namespace

TEncapsulatedFile::TEncapsulatedFile(platform::FileSystem& files, const std::string& path) : path_(path)
{
    auto opened = files.openExisting(path, platform::Access::ReadWriteExclusive);
    if (!opened)
        throw Error("Cannot open file \"" + path + "\". " + openReason(opened.error(), path), path);
    file_ = std::move(*opened);
    // Every offset of the record must lie inside the file; a shorter file is
    // no profile, and reading or writing it would make up or add bytes.
    if (const std::uint64_t size = file_->size(); size < record::kMinimumLength)
        throw Error("Cannot use file \"" + path + "\". It is " + std::to_string(size)
                        + " bytes long; a custom mercenary profile needs at least "
                        + std::to_string(record::kMinimumLength) + " bytes.",
                    path);
    // A game executable or an item text file is long enough too, but the
    // record's offsets there hold code and texts; their lengths tell them.
    if (const std::string game = platform::gameFileOfLength(file_->size()); !game.empty())
        throw Error("Cannot use file \"" + path + "\". It is " + game + ", not a custom mercenary profile.", path);
}

TEncapsulatedFile::~TEncapsulatedFile() = default; // the byte file closes itself

std::uint8_t TEncapsulatedFile::ReadByte()
{
    if (offset_ < 0)
        throw Error("Could not read " + path_ + ": offset " + std::to_string(offset_) + " lies before the file", path_);
    std::uint8_t value = 0;
    if (auto read = file_->read(static_cast<std::uint64_t>(offset_), std::span(&value, 1)); !read)
        throw Error(read.error(), read.path());
    return value;
}

void TEncapsulatedFile::WriteByte(std::uint8_t value)
{
    if (offset_ < 0)
        throw Error("Could not write " + path_ + ": offset " + std::to_string(offset_) + " lies before the file", path_);
    if (auto written = file_->write(static_cast<std::uint64_t>(offset_), std::span(&value, 1)); !written)
        throw Error(written.error(), written.path());
    ++written_;
}

void TEncapsulatedFile::close()
{
    if (auto closed = file_->close(); !closed)
        throw Error(closed.error(), closed.path());
}

void WriteNarrowText(TEncapsulatedFile& file, std::string_view text, std::int32_t offset)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        file.SetAccessOffset(offset + static_cast<std::int32_t>(i));
        file.WriteByte(static_cast<std::uint8_t>(text[i]));
    }
}

std::string ReadNarrowText(TEncapsulatedFile& file, std::int32_t offset, int limit)
{
    std::string text;
    for (int i = 0; i < limit; ++i) {
        file.SetAccessOffset(offset + i);
        const std::uint8_t byte = file.ReadByte();
        if (byte == 0)
            break;
        text += static_cast<char>(byte);
    }
    return text;
}

void WriteCellText(TEncapsulatedFile& file, std::string_view text, std::int32_t offset, int cells)
{
    // A text longer than the field keeps to its cells rather than spill into
    // the bytes behind it.
    for (int i = 0; i < cells; ++i) {
        file.SetAccessOffset(offset + 2 * i);
        file.WriteByte(static_cast<std::size_t>(i) < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

std::string ReadCellText(TEncapsulatedFile& file, std::int32_t offset, int cells)
{
    std::string text;
    for (int i = 0; i < cells; ++i) {
        file.SetAccessOffset(offset + 2 * i);
        if (const std::uint8_t byte = file.ReadByte(); byte != 0)
            text += static_cast<char>(byte);
    }
    return text;
}

} // namespace kestrin
