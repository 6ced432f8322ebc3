#include "platform/journal.h"

// standard
#include <algorithm>
#include <cassert>
#include <string_view>

// Qt
#include <QCryptographicHash>

// ours
#include "platform/backup.h"
#include "platform/paths.h"

namespace platform {

namespace {

constexpr std::string_view kPrefix = "varnhold patch journal ";
constexpr std::string_view kMagic = "varnhold patch journal 2\n";
constexpr std::string_view kSuffix = ".varnhold-journal";
constexpr std::size_t kHashBytes = 32;
// The longest first line read to learn a journal's version.
constexpr std::size_t kLongestFirstLine = 64;
// The longest journal name: room is left for createNew's temporary name
// (a dot before it and ".tmp-" and six letters after it) within 255.
constexpr std::size_t kLongestName = 255 - 12;

std::string sha256(std::string_view bytes)
{
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                                     QCryptographicHash::Sha256);
    return std::string(hash.constData(), static_cast<std::size_t>(hash.size()));
}

void putNumber(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

/// Reads a number of `bytes` bytes at `at` and moves past it; false when
/// the journal ends first.
bool takeNumber(std::string_view in, std::size_t& at, int bytes, std::uint64_t& value)
{
    if (in.size() - at < static_cast<std::size_t>(bytes))
        return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += static_cast<std::size_t>(bytes);
    return true;
}

/// The largest journal a patch of `owned` can need: every byte its own span.
std::uint64_t largestJournal(const PatchSpan& owned)
{
    return kMagic.size() + 8 + 4 + owned.length * (16 + 2) + kHashBytes;
}

struct Span {
    std::uint64_t offset;
    std::string_view old;
    std::string_view now;
};

/// The spans of a whole, hashed journal body, or why it is refused.
Result<std::vector<Span>> parseSpans(std::string_view body, std::uint64_t length, const PatchSpan& owned)
{
    std::size_t at = kMagic.size();
    std::uint64_t target = 0, count = 0;
    if (!takeNumber(body, at, 8, target) || !takeNumber(body, at, 4, count))
        return Status::failure("it is not laid out as a journal");
    if (target != length)
        return Status::failure("it was made for a file of " + std::to_string(target) + " bytes, and the file has " +
                               std::to_string(length));
    if (count == 0)
        return Status::failure("it holds no span");
    std::vector<Span> spans;
    std::uint64_t end = owned.offset; // where the span before ends
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t offset = 0, size = 0;
        if (!takeNumber(body, at, 8, offset) || !takeNumber(body, at, 8, size) || size > (body.size() - at) / 2)
            return Status::failure("it is not laid out as a journal");
        if (size == 0)
            return Status::failure("it holds an empty span");
        if (offset < owned.offset || offset > owned.offset + owned.length ||
            size > owned.offset + owned.length - offset)
            return Status::failure("a span at byte " + std::to_string(offset) +
                                   " lies outside the bytes the editors patch in this file");
        if (offset < end)
            return Status::failure("its spans overlap or are out of order");
        const auto n = static_cast<std::size_t>(size);
        spans.push_back({offset, body.substr(at, n), body.substr(at + n, n)});
        at += 2 * n;
        end = offset + size;
    }
    if (at != body.size())
        return Status::failure("it is not laid out as a journal");
    return spans;
}

Status writeBack(ByteFile& file, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    return file.write(offset, bytes);
}

std::span<const std::uint8_t> asBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace

std::string journalPath(const std::string& path)
{
    const PathParts parts = splitPath(path);
    const std::string_view name = parts.name;
    std::string journal = "." + std::string(name) + std::string(kSuffix);
    if (journal.size() > kLongestName) {
        // "." + the cut name + "~" + 16 hexadecimal digits + the suffix.
        const std::string hash = sha256(name);
        std::string tag = "~";
        for (int i = 0; i < 8; ++i) {
            constexpr const char* kHex = "0123456789abcdef";
            tag += kHex[static_cast<unsigned char>(hash[i]) >> 4];
            tag += kHex[static_cast<unsigned char>(hash[i]) & 0xF];
        }
        std::size_t cut = kLongestName - 1 - tag.size() - kSuffix.size();
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // name[cut] continues a character: cut before the character
        journal = "." + std::string(name.substr(0, cut)) + tag + std::string(kSuffix);
    }
    return parts.head + journal; // beside the file, its folder spelt as the path spells it
}

Result<JournalCheck> checkJournal(FileSystem& files, const std::string& path, ByteFile& file,
                                  const OwnedBytes& owned)
{
    const std::string journal = journalPath(path);
    // The journal could not be looked at or read: the failure is the
    // journal's, and names it as its file.
    auto cannot = [&](const std::string& why) {
        return Status::failure("Could not check the patch journal " + journal + ": " + why, why, journal);
    };
    auto refused = [&](const std::string& why) {
        return Status::failure({"The patch journal " + journal + " cannot be rolled back: " + why + ".",
                                "Move it away and try again. If " + path + " is half-written, " + backupPath(path) +
                                    " holds it as it was before its first patch."},
                               {}, path);
    };
    auto found = files.entry(journal);
    if (!found)
        return cannot(found.reason());
    if (found->kind == Entry::Kind::Missing)
        return JournalCheck{};
    if (found->kind != Entry::Kind::Regular)
        return Status::failure({journal + " is in the way of the patch journal (it is not a regular file);",
                                "move it away and try again."},
                               {}, path);
    auto range = owned(file.size());
    if (!range)
        return range.status();

    // Read no more than the largest journal this file can need: a bigger
    // one is refused before it is read whole.
    auto opened = files.openExisting(journal, Access::Read);
    if (!opened)
        return cannot(opened.reason());
    ByteFile& held = **opened;
    const std::uint64_t size = held.size();
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, kLongestFirstLine)), '\0');
    if (auto read = held.read(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size())); !read)
        return cannot(read.reason());
    if (size > largestJournal(*range))
        return refused("it is " + std::to_string(size) + " bytes long, longer than any journal of this file can be");
    // A journal cut inside its first line was never whole; anything else
    // that begins as a journal of ours but is not this version's is another
    // version's, whatever its first line holds.
    const std::size_t begun = std::min(bytes.size(), kMagic.size());
    if (std::string_view(bytes).substr(0, begun) != kMagic.substr(0, begun)) {
        if (bytes.size() < kPrefix.size() || std::string_view(bytes).substr(0, kPrefix.size()) != kPrefix)
            return JournalCheck{JournalCheck::Outcome::Void, {}}; // not even begun as a journal
        const std::string line = bytes.substr(0, std::min(bytes.find('\n'), bytes.size()));
        return refused("it was written by another version of the editors (" + line + ")");
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (size > kLongestFirstLine) {
        auto rest = std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()).subspan(kLongestFirstLine);
        if (auto read = held.read(kLongestFirstLine, rest); !read)
            return cannot(read.reason());
    }
    (void)held.close();

    // Rule 2: cut short or damaged, so never whole.
    if (bytes.size() < kMagic.size() + kHashBytes)
        return JournalCheck{JournalCheck::Outcome::Void, {}};
    const std::string_view body = std::string_view(bytes).substr(0, bytes.size() - kHashBytes);
    if (std::string_view(bytes).substr(body.size()) != sha256(body))
        return JournalCheck{JournalCheck::Outcome::Void, {}};

    // Rule 3: it must be this file's and lie in the bytes the program owns.
    auto spans = parseSpans(body, file.size(), *range);
    if (!spans)
        return refused(spans.error());

    // Rule 4: each byte holds what a killed patch can leave.
    JournalCheck check;
    bool touched = false;
    for (const Span& span : *spans) {
        SavedBytes now{span.offset, std::vector<std::uint8_t>(span.old.size())};
        if (auto read = file.read(span.offset, now.bytes); !read)
            return read; // the file's own failure, which names it
        for (std::size_t i = 0; i < now.bytes.size(); ++i) {
            const auto byte = static_cast<char>(now.bytes[i]);
            if (byte != span.old[i] && byte != span.now[i])
                return refused("byte " + std::to_string(span.offset + i) +
                               " of the file holds neither its value before that patch nor the one the patch "
                               "wrote, so the file has changed since, or the journal is another file's");
            touched = touched || byte != span.old[i];
        }
        const auto old = asBytes(span.old);
        check.old.push_back({span.offset, std::vector<std::uint8_t>(old.begin(), old.end())});
    }
    // Rule 5: the patch never reached the file.
    if (!touched)
        return JournalCheck{JournalCheck::Outcome::Void, {}};
    check.outcome = JournalCheck::Outcome::Unfinished;
    return check;
}

Result<std::string> rollBackUnfinishedPatch(FileSystem& files, const std::string& path, ByteFile& file,
                                            const OwnedBytes& owned)
{
    const std::string journal = journalPath(path);
    // A journal still being made when its program was killed is only a
    // temporary file: the patch had not begun.
    if (auto cleared = files.removeLeftovers(journal); !cleared)
        return Status::failure("Could not remove what a killed patch left beside " + path + ": " +
                                   cleared.reason(),
                               {}, path)
            .nothingWritten();
    auto check = checkJournal(files, path, file, owned);
    if (!check)
        return check.status().nothingWritten();
    if (check->outcome == JournalCheck::Outcome::None)
        return std::string();
    if (check->outcome == JournalCheck::Outcome::Void) {
        if (auto removed = files.remove(journal); !removed)
            return Status::failure("Could not remove the patch journal " + journal + ", which holds nothing to "
                                   "roll back: " + removed.reason(), {}, path)
                .nothingWritten();
        return std::string();
    }
    for (const SavedBytes& old : check->old) {
        auto written = writeBack(file, old.offset, old.bytes);
        if (written)
            written = file.sync();
        if (!written)
            return Status::failure({"Could not roll back the unfinished patch of " + path + ": " + written.reason(),
                                    path + " may be half-written; its journal " + journal +
                                        " stays, and the next patch rolls it back."},
                                   {}, path);
    }
    if (auto removed = files.remove(journal); !removed)
        return Status::failure({"The unfinished patch of " + path + " was rolled back, but its journal " + journal +
                                    " could not be removed: " + removed.reason(),
                                "This patch was not made."},
                               {}, path);
    return "An unfinished patch of " + path + " was rolled back.";
}

std::string PatchJournal::encode(std::uint64_t length, const std::vector<Change>& changes)
{
    std::string bytes(kMagic);
    putNumber(bytes, length, 8);
    putNumber(bytes, changes.size(), 4);
    for (const Change& change : changes) {
        putNumber(bytes, change.offset, 8);
        putNumber(bytes, change.old.size(), 8);
        bytes.append(reinterpret_cast<const char*>(change.old.data()), change.old.size());
        bytes.append(reinterpret_cast<const char*>(change.now.data()), change.now.size());
    }
    bytes += sha256(bytes);
    return bytes;
}

Result<PatchJournal> PatchJournal::begin(FileSystem& files, const std::string& path, std::uint64_t length,
                                         std::vector<Change> changes)
{
    // What rule 3 refuses of a journal read back is never written.
    assert(!changes.empty());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        assert(!changes[i].old.empty() && changes[i].old.size() == changes[i].now.size());
        assert(changes[i].offset <= length && changes[i].old.size() <= length - changes[i].offset);
        assert(i == 0 || changes[i - 1].offset + changes[i - 1].old.size() <= changes[i].offset);
    }
    const std::string journal = journalPath(path);
    const std::string bytes = encode(length, changes);
    if (auto made = files.createNew(journal, bytes); !made) {
        // A journal named but not flushed into its folder holds only old
        // bytes the file still has; removed here (only when it is the very
        // journal written), or rule 5 drops it later.
        if (auto found = files.entry(journal); found && found->kind == Entry::Kind::Regular &&
                                               found->size == bytes.size())
            if (auto there = files.readAll(journal); there && *there == bytes)
                (void)files.remove(journal);
        return Status::failure("Could not make the patch journal " + journal + ": " + made.reason(), {}, path);
    }
    return PatchJournal(files, journal, std::move(changes));
}

Status PatchJournal::write(ByteFile& file) const
{
    for (const Change& change : changes_)
        if (auto written = file.write(change.offset, change.now); !written)
            return written;
    return Status::success();
}

Status PatchJournal::finish(ByteFile& file)
{
    if (auto synced = file.sync(); !synced)
        return synced;
    return files_->remove(journal_);
}

Status PatchJournal::undo(ByteFile& file)
{
    for (const Change& change : changes_)
        if (auto written = file.write(change.offset, change.old); !written)
            return written;
    if (auto synced = file.sync(); !synced)
        return synced;
    // The file is as it was; a journal that stays holds only old bytes the
    // file has, and the next patch drops it without a word.
    (void)files_->remove(journal_);
    return Status::success();
}

} // namespace platform
