#include "velloc/core/itemcodec.h"

// standard
#include <algorithm>
#include <array>
#include <functional>

// ours
#include "platform/backup.h"
#include "platform/journal.h"

namespace velloc {

namespace {

constexpr std::array<FieldLayout, 3> kItemsLayout = {{
    {Field::ShortName, 0, 80},
    {Field::FullName, 160, 80},
    {Field::Description, 320, 240},
}};

constexpr std::array<FieldLayout, 2> kBobbyRayLayout = {{
    {Field::ShortName, 0, 80},
    {Field::Description, 160, 320},
}};

// The unit's low byte that means "end of text" when written after the text.
constexpr std::uint8_t kEndMarker = 0;
// How many problems a refusal lists before it only counts the rest.
constexpr std::size_t kListedProblems = 10;

std::string lengthError(const std::string& path, std::uint64_t length)
{
    return "The file " + path + " is " + std::to_string(length) + " bytes long; an item text file has exactly " +
           std::to_string(kItemFileLength) + " bytes.";
}

} // namespace

std::span<const FieldLayout> recordLayout(FileType type)
{
    if (type == FileType::BobbyRay)
        return kBobbyRayLayout;
    return kItemsLayout;
}

namespace {

std::string decodeField(std::span<const std::uint8_t> file, int item, const FieldLayout& layout)
{
    std::string text;
    const std::size_t base = static_cast<std::size_t>(item) * kRecordBytes + layout.offset;
    for (int k = 0; k < layout.units; ++k) {
        const std::size_t at = base + 2 * static_cast<std::size_t>(k);
        // A shorter buffer than a whole file ends its texts where it ends.
        if (at >= file.size())
            break;
        const int c = file[at] - 1;
        if (c <= 0)
            break; // stored 0 or 1: end of the text
        text += c == 31 ? ' ' : static_cast<char>(c);
    }
    return text;
}

/// Whether the field holds exactly `text` in all of its units, with no end
/// marker: the one place a text of a whole field may stand, since writing it
/// there changes nothing.
bool holdsFullText(std::span<const std::uint8_t> file, int item, const FieldLayout& layout, const std::string& text)
{
    return text.size() == static_cast<std::size_t>(layout.units) && decodeField(file, item, layout) == text;
}

} // namespace

void decodeItemFile(std::span<const std::uint8_t> file, FileType type, ItemTexts& texts)
{
    for (const FieldLayout& layout : recordLayout(type)) {
        auto& column = textsOf(texts, layout.field);
        for (int n = 0; n < kItemCount; ++n)
            column[n] = decodeField(file, n, layout);
    }
    texts.fileType = type;
}

std::vector<EncodingProblem> encodingProblems(const ItemTexts& texts, std::span<const std::uint8_t> file)
{
    std::vector<EncodingProblem> problems;
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& layout : recordLayout(texts.fileType)) {
            const std::string& text = textsOf(texts, layout.field)[n];
            const auto units = static_cast<std::size_t>(layout.units);
            if (text.size() >= units && !holdsFullText(file, n, layout, text))
                problems.push_back({n, layout.field,
                                    "is " + std::to_string(text.size()) + " characters long; at most " +
                                        std::to_string(units - 1) + " fit"});
            for (char ch : text) {
                const auto code = static_cast<unsigned char>(ch);
                // Code 0 would be stored as 1, which reads as the end of the
                // text; code 255 would need the value 256.
                if (code == 0 || code == 255) {
                    problems.push_back({n, layout.field,
                                        "holds a character that the file cannot store (code " +
                                            std::to_string(code) + ")"});
                    break;
                }
            }
        }
    }
    return problems;
}

void encodeItemFile(const ItemTexts& texts, std::span<std::uint8_t> file)
{
    if (file.size() < kItemFileLength)
        return;
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& layout : recordLayout(texts.fileType)) {
            const std::string& text = textsOf(texts, layout.field)[n];
            // The field's own full text: its bytes stay as they are (a space
            // may be stored as 33, which writing would turn into 32).
            if (holdsFullText(file, n, layout, text))
                continue;
            std::uint8_t* unit = file.data() + static_cast<std::size_t>(n) * kRecordBytes + layout.offset;
            // Never past the field and never without the marker, whatever the
            // caller failed to check.
            const std::size_t length = std::min(text.size(), static_cast<std::size_t>(layout.units) - 1);
            for (std::size_t i = 0; i < length; ++i, unit += 2) {
                const int v = static_cast<unsigned char>(text[i]) + 1;
                *unit = static_cast<std::uint8_t>(v == 33 ? 32 : v);
            }
            *unit = kEndMarker;
        }
    }
}

platform::Result<ItemTexts> readdata(platform::FileSystem& files, const std::string& path, FileType type,
                                     const ItemTexts& previous)
{
    auto file = files.openExisting(path, platform::Access::Read);
    if (!file)
        return file.status();
    if ((*file)->size() != kItemFileLength)
        return platform::Status::failure(lengthError(path, (*file)->size()));
    std::vector<std::uint8_t> bytes(kItemFileLength);
    if (auto read = (*file)->read(0, bytes); !read)
        return read;
    if (auto closed = (*file)->close(); !closed)
        return closed;
    ItemTexts texts = previous;
    decodeItemFile(bytes, type, texts);
    return texts;
}

namespace {

/// The texts a patch writes, decided from the bytes the file holds.
using Decision = std::function<platform::Result<ItemTexts>(std::span<const std::uint8_t> bytes)>;

/// Opens the item file for our use alone and keeps it so from the read of
/// its bytes to the end of the write: another patch of the file is refused
/// as in use rather than put its texts into our backup or lose them under
/// ours. Refuses, writing nothing, a file of another length, a refusal of
/// `decide`, texts that cannot be encoded, and a failed backup.
platform::Status patch(platform::FileSystem& files, const std::string& path, const Decision& decide)
{
    auto file = files.openExisting(path, platform::Access::ReadWriteExclusive);
    if (!file)
        return file.status();
    // A patch a killed program left half-written is undone before the texts
    // are read, so they are decided from the whole old file.
    auto rolledBack = platform::rollBackUnfinishedPatch(files, path, **file);
    if (!rolledBack)
        return rolledBack.status();
    if (!rolledBack->empty())
        files.addNote(*rolledBack);
    // The length was checked when the file was chosen; it may have changed since.
    if ((*file)->size() != kItemFileLength)
        return platform::Status::failure(lengthError(path, (*file)->size()) + "\rNothing was written.", {}, path);
    std::vector<std::uint8_t> bytes(kItemFileLength);
    if (auto read = (*file)->read(0, bytes); !read)
        return read.nothingWritten();
    auto texts = decide(bytes);
    if (!texts)
        return texts.status();
    if (const auto problems = encodingProblems(*texts, bytes); !problems.empty()) {
        std::string message = "The texts cannot be saved into " + path + ":";
        for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
            const EncodingProblem& p = problems[i];
            message += "\ritem " + std::to_string(p.item) + ", " + fieldName(p.field, texts->fileType) + ": " +
                       p.reason + ".";
        }
        if (problems.size() > kListedProblems)
            message += "\rand " + std::to_string(problems.size() - kListedProblems) + " more.";
        message += "\rNothing was written.";
        return platform::Status::failure(message, {}, path);
    }
    if (auto backup = platform::ensureBackup(files, path, **file); !backup)
        return backup.nothingWritten();
    std::vector<std::uint8_t> patched = bytes;
    encodeItemFile(*texts, patched);
    // Only the run from the first to the last changed byte is written; its
    // old bytes are on the disk beside the file before its first byte
    // changes, so a kill mid-way is rolled back by the next patch.
    const auto first = std::mismatch(bytes.begin(), bytes.end(), patched.begin()).first - bytes.begin();
    if (first == std::ssize(bytes))
        return (*file)->close();
    const auto last = bytes.rend() - std::mismatch(bytes.rbegin(), bytes.rend(), patched.rbegin()).first;
    const platform::PatchSpan span{static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(last - first)};
    auto journal = platform::PatchJournal::begin(files, path, **file, std::span(&span, 1));
    if (!journal)
        return journal.status().nothingWritten();
    if (auto written = (*file)->write(span.offset, std::span(patched).subspan(first, span.length)); !written) {
        journal->undo(**file);
        return written;
    }
    if (auto finished = journal->finish(**file); !finished)
        return finished;
    return (*file)->close();
}

} // namespace

platform::Status writedata(platform::FileSystem& files, const std::string& path, const ItemTexts& texts)
{
    return patch(files, path, [&texts](std::span<const std::uint8_t>) { return platform::Result<ItemTexts>(texts); });
}

platform::Status patchItemFile(platform::FileSystem& files, const std::string& path, FileType type,
                               const TextsChange& change)
{
    return patch(files, path, [type, &change](std::span<const std::uint8_t> bytes) {
        ItemTexts current;
        decodeItemFile(bytes, type, current);
        return change(current);
    });
}

} // namespace velloc
