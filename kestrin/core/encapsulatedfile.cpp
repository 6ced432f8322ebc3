#include "kestrin/core/encapsulatedfile.h"

// ours
#include "kestrin/core/profilerecord.h"
#include "platform/gamefiles.h"

namespace kestrin {

platform::OwnedBytes profileRecord(const std::string& path)
{
    return [path](std::uint64_t length) -> platform::Result<platform::PatchSpan> {
        // Every offset of the record must lie inside the file; a shorter file
        // is no profile.
        if (length < record::kMinimumLength)
        {
            const std::string why = "It is " + std::to_string(length) +
                                    " bytes long; a custom mercenary profile needs at least " +
                                    std::to_string(record::kMinimumLength) + " bytes.";
            return platform::Status::failure("Cannot use file \"" + path + "\". " + why, why, path);
        }
        // A game executable or an item text file is long enough too, but the
        // record's offsets there hold code and texts; their lengths tell them.
        if (const std::string game = platform::gameFileOfLength(length); !game.empty())
        {
            const std::string why = "It is " + game + ", not a custom mercenary profile.";
            return platform::Status::failure("Cannot use file \"" + path + "\". " + why, why, path);
        }
        return platform::PatchSpan{0, record::kMinimumLength};
    };
}

platform::Status checkProfileRecord(std::span<const std::uint8_t> record, const std::string& path)
{
    const std::string what =
        platform::notAProfile(std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
    if (what.empty())
        return platform::Status::success();
    const std::string why = "It is " + what + ", not a custom mercenary profile.";
    return platform::Status::failure("Cannot use file \"" + path + "\". " + why, why, path);
}

std::uint8_t& TEncapsulatedFile::at(const char* what)
{
    if (offset_ < 0 || static_cast<std::size_t>(offset_) >= record_.size())
        throw RecordAccessError(std::string("Could not ") + what + " " + path_ + ": offset " +
                                    std::to_string(offset_) + " lies outside the profile record",
                                path_);
    return record_[static_cast<std::size_t>(offset_)];
}

std::uint8_t TEncapsulatedFile::ReadByte()
{
    return at("read");
}

void TEncapsulatedFile::WriteByte(std::uint8_t value)
{
    at("write") = value;
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
