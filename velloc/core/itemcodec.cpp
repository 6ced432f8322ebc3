#include "velloc/core/itemcodec.h"

// standard
#include <algorithm>
#include <array>
#include <cassert>
#include <functional>

// ours
#include "platform/fieldmerge.h"

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

/// The refusal of a file of another length: the window's message, which
/// names the file, and its reason apart for a caller that names it itself.
platform::Status lengthError(const std::string& path, std::uint64_t length)
{
    const std::string why = " is " + std::to_string(length) + " bytes long; an item text file has exactly " +
                            std::to_string(kItemFileLength) + " bytes.";
    return platform::Status::failure("The file " + path + why, "The file" + why, path);
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
                // text; code 31 as 32, which reads as a space; code 255
                // would need the value 256.
                if (code == 0 || code == 31 || code == 255) {
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
    assert(file.size() == kItemFileLength);
    if (file.size() < kItemFileLength)
        return; // where asserts are off, a short buffer is left as it is rather than overrun
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

platform::OwnedBytes itemRecords(const std::string& path)
{
    return [path](std::uint64_t length) -> platform::Result<platform::PatchSpan> {
        if (length != kItemFileLength)
            return lengthError(path, length);
        return platform::PatchSpan{0, kItemFileLength};
    };
}

platform::Result<ItemTexts> readdata(platform::FileSystem& files, const std::string& path, FileType type,
                                     const ItemTexts& previous, platform::Reading reading)
{
    auto read = platform::readGameFile(files, path, itemRecords(path), reading);
    if (!read)
        return read.status();
    ItemTexts texts = previous;
    decodeItemFile(read->bytes, type, texts);
    return texts;
}

namespace {

/// The texts a patch writes, decided from the bytes the file holds.
using Decision = std::function<platform::Result<ItemTexts>(std::span<const std::uint8_t> bytes)>;

/// Patches the texts `decide` makes from the file's bytes into it; texts
/// that cannot be encoded are refused, writing nothing.
platform::Status patch(platform::FileSystem& files, const std::string& path, const Decision& decide)
{
    return platform::patchGameFile(files, path, itemRecords(path),
                                   [&](const platform::GameFileBytes& current)
                                       -> platform::Result<std::vector<std::uint8_t>> {
        auto texts = decide(current.bytes);
        if (!texts)
            return texts.status();
        if (const auto problems = encodingProblems(*texts, current.bytes); !problems.empty()) {
            // The reason apart: the message less its first words, which name the file.
            platform::Message listed;
            for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
                const EncodingProblem& p = problems[i];
                listed.add("item " + std::to_string(p.item) + ", " + fieldName(p.field, texts->fileType) + ": " +
                           p.reason + ".");
            }
            if (problems.size() > kListedProblems)
                listed.add("and " + std::to_string(problems.size() - kListedProblems) + " more.");
            listed.add("Nothing was written.");
            return platform::Status::failure(
                platform::Message("The texts cannot be saved into " + path + ":").append(listed),
                "The texts cannot be saved: " + listed.joined(" "), path);
        }
        std::vector<std::uint8_t> patched = current.bytes;
        encodeItemFile(*texts, patched);
        return patched;
    });
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

platform::Result<MergedTexts> writedataOver(platform::FileSystem& files, const std::string& path,
                                            const ItemTexts& ours, const ItemTexts& base,
                                            const ResolveTextConflicts& resolve)
{
    MergedTexts merged;
    const std::span<const FieldLayout> layout = recordLayout(ours.fileType);
    auto patched = patch(files, path, [&](std::span<const std::uint8_t> bytes) -> platform::Result<ItemTexts> {
        ItemTexts theirs = ours; // fields the file has no place for stay the window's
        decodeItemFile(bytes, ours.fileType, theirs);
        const ItemTexts* sides[] = {&base, &ours, &theirs};
        auto fieldOf = [&](std::size_t i) { return std::pair{int(i / layout.size()), layout[i % layout.size()].field}; };
        const platform::FieldMerge merge = platform::mergeFields(
            kItemCount * layout.size(), [&](std::size_t i, platform::Side a, platform::Side b) {
                const auto [item, field] = fieldOf(i);
                return textOf(*sides[int(a)], field, item) == textOf(*sides[int(b)], field, item);
            });
        ItemTexts result = theirs;
        for (std::size_t i : merge.ours)
            textOf(result, fieldOf(i).second, fieldOf(i).first) = textOf(ours, fieldOf(i).second, fieldOf(i).first);
        if (!merge.conflicts.empty()) {
            std::vector<std::pair<int, Field>> clashes;
            for (std::size_t i : merge.conflicts)
                clashes.push_back(fieldOf(i));
            if (!resolve(clashes)) {
                merged.cancelled = true;
                return platform::Status::failure("The save was cancelled.").nothingWritten();
            }
            for (const auto& [item, field] : clashes)
                textOf(result, field, item) = textOf(ours, field, item);
        }
        merged.texts = result;
        merged.theirsKept = merge.theirsKept;
        return result;
    });
    if (merged.cancelled)
        return merged;
    if (!patched)
        return patched;
    return merged;
}

} // namespace velloc
