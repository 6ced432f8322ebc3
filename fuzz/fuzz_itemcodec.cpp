// Item text files, two records at a time: the input is patched into a fixed,
// valid item text file at a record it chooses, so that each run reads only a
// small input and the mutations stay on the records they change.
//
// Input: two bytes, then the bytes of the record and the next (cut at the end
// of the file). The first two bytes, little-endian, give the record (modulo
// the item count) in their low 13 bits, the change made to its texts in the
// next two (Change), and in the top bit the file type to read it as (set:
// Bobby Ray).
//
// Checked: every text read fits its field. A text that fills its field is
// refused exactly when the file does not hold that very text there; every
// other text is accepted. What is accepted is written in the stored form
// byte for byte, each text with its end marker, except that a full field's
// own text leaves its bytes untouched; the records not changed keep every
// byte but the other stored forms of a space (33) and of the end marker (1),
// and nothing outside the records the input touched changes at all.

// standard
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// ours
#include "velloc/core/itemcodec.h"

namespace {

using velloc::Field;
using velloc::FieldLayout;
using velloc::FileType;
using velloc::ItemTexts;
using velloc::kItemCount;
using velloc::kItemFileLength;
using velloc::kRecordBytes;

/// What happens to the chosen record's texts between reading and writing.
enum class Change : unsigned {
    None,         // written back as read
    NextsTexts,   // edited to the next record's texts
    OwnTexts,     // set again to the texts they had, as a text form would
    OwnTextsAltered // the texts they had with the last character changed
};

/// The model's column of texts for a field (const or not, as the model).
template <class Texts>
auto& column(Texts& texts, Field field)
{
    return field == Field::ShortName ? texts.shortNames
         : field == Field::FullName  ? texts.fullNames
                                     : texts.descriptions;
}

/// The file the inputs are patched into, laid out as an Items file. Most
/// records are empty, so that each run spends its time on the records it
/// patched; every hundredth holds short texts, and the last one fills its
/// fields to the last unit with no marker, as the game's own files hold
/// some, up to the end of the file (as both file types read it). Every high
/// byte, and every unit after a text, holds other bytes.
std::vector<std::uint8_t> makeFixedFile()
{
    std::vector<std::uint8_t> bytes(kItemFileLength);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / kRecordBytes);
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& layout : velloc::recordLayout(FileType::Items)) {
            // The last record's fields after the first run to the end of the file.
            const bool full = n == kItemCount - 1 && layout.offset > 0;
            const int length = full ? layout.units : n % 100 == 7 ? 3 + n % 12 : 0;
            std::uint8_t* unit = bytes.data() + static_cast<std::size_t>(n) * kRecordBytes + layout.offset;
            for (int k = 0; k < length; ++k)
                unit[2 * k] = static_cast<std::uint8_t>('a' + (n + k) % 26 + 1);
            if (length < layout.units)
                unit[2 * length] = 0;
        }
    }
    return bytes;
}

// The checks below need no coverage of their own.

/// Whether `written` differs from `read` only where a read and write turn a
/// stored 33 (a space) into 32, or the end marker 1 into 0: both in low bytes.
__attribute__((no_sanitize("coverage"))) bool onlyNormalised(const std::uint8_t* read, const std::uint8_t* written,
                                                             std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (read[i] == written[i])
            continue;
        if (i % 2 != 0 || !((read[i] == 33 && written[i] == 32) || (read[i] == 1 && written[i] == 0)))
            return false;
    }
    return true;
}

/// Whether a record as written holds exactly the item's texts in the
/// stored form (code c as c + 1, a space as 32), each followed by the end
/// marker 0, and otherwise the bytes it had; a text that fills its field
/// (accepted only over itself) leaves the field's bytes as they were.
__attribute__((no_sanitize("coverage"))) bool holdsTexts(const std::uint8_t* written, const std::uint8_t* before,
                                                         const ItemTexts& texts, int item)
{
    std::array<std::uint8_t, kRecordBytes> expected;
    std::copy_n(before, kRecordBytes, expected.begin());
    for (const FieldLayout& layout : velloc::recordLayout(texts.fileType)) {
        const std::string& text = column(texts, layout.field)[std::size_t(item)];
        if (text.size() == std::size_t(layout.units))
            continue;
        std::uint8_t* unit = expected.data() + layout.offset;
        for (char ch : text) {
            *unit = ch == ' ' ? 32 : static_cast<std::uint8_t>(static_cast<unsigned char>(ch) + 1);
            unit += 2;
        }
        *unit = 0;
    }
    return std::equal(expected.begin(), expected.end(), written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Made once and kept from run to run: between runs both buffers hold the
    // fixed file, since each run puts back the records it touched.
    static const std::vector<std::uint8_t> fixed = makeFixedFile();
    static std::vector<std::uint8_t> file = fixed, written = fixed;
    static ItemTexts texts;
    if (size < 2)
        return 0;
    const unsigned selector = data[0] | unsigned(data[1]) << 8;
    const int record = int(selector & 0x1FFF) % kItemCount;
    const auto change = Change(selector >> 13 & 3);
    const FileType type = selector & 0x8000 ? FileType::BobbyRay : FileType::Items;
    const std::size_t at = std::size_t(record) * kRecordBytes;
    const std::size_t patched = std::min(size - 2, file.size() - at);
    // Texts may run from the patched bytes on into the fixed ones: the whole
    // records touched can change.
    const int lastRecord = int((at + std::max<std::size_t>(patched, 1) - 1) / kRecordBytes);
    const std::size_t end = std::size_t(lastRecord + 1) * kRecordBytes;

    std::copy_n(data + 2, patched, file.begin() + std::ptrdiff_t(at));
    struct PutBack {
        std::size_t from, to;
        ~PutBack()
        {
            std::copy(fixed.begin() + std::ptrdiff_t(from), fixed.begin() + std::ptrdiff_t(to),
                      file.begin() + std::ptrdiff_t(from));
            std::copy(fixed.begin() + std::ptrdiff_t(from), fixed.begin() + std::ptrdiff_t(to),
                      written.begin() + std::ptrdiff_t(from));
        }
    } putBack{at, end};

    velloc::decodeItemFile(file, type, texts);
    if (texts.fileType != type)
        __builtin_trap();
    for (const FieldLayout& layout : velloc::recordLayout(type))
        for (int n = record; n <= lastRecord; ++n)
            if (column(texts, layout.field)[std::size_t(n)].size() > std::size_t(layout.units))
                __builtin_trap();

    if (change != Change::None) {
        const std::size_t source =
            change == Change::NextsTexts ? std::size_t(record + 1) % kItemCount : std::size_t(record);
        std::size_t refusals = 0;
        for (const FieldLayout& layout : velloc::recordLayout(type)) {
            auto& field = column(texts, layout.field);
            std::string text = field[source];
            if (change == Change::OwnTextsAltered && !text.empty())
                text.back() = text.back() == 'x' ? 'y' : 'x';
            // field[record] is still what the file holds.
            refusals += text.size() == std::size_t(layout.units) && text != field[std::size_t(record)];
            field[std::size_t(record)] = std::move(text);
        }
        const auto problems = velloc::encodingProblems(texts, file);
        if (problems.size() != refusals)
            __builtin_trap();
        for (const velloc::EncodingProblem& problem : problems)
            if (problem.item != record)
                __builtin_trap();
        if (refusals > 0)
            return 0;
    }
    // Texts read from the file are written without asking encodingProblems: that it
    // accepts them is checked above, on the records after a changed one.

    std::copy(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(end),
              written.begin() + std::ptrdiff_t(at));
    velloc::encodeItemFile(texts, written);
    if (std::memcmp(file.data(), written.data(), at) != 0
        || std::memcmp(file.data() + end, written.data() + end, file.size() - end) != 0)
        __builtin_trap();
    const std::size_t unchanged = change == Change::None ? at : at + kRecordBytes;
    if (!onlyNormalised(file.data(), written.data(), unchanged, end))
        __builtin_trap();
    if (change != Change::None && !holdsTexts(written.data() + at, file.data() + at, texts, record))
        __builtin_trap();
    return 0;
}
