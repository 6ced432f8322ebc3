#include "platform/journal.h"

// standard
#include <string_view>

namespace platform {

namespace {

constexpr std::string_view kMagic = "varnhold patch journal 1\n";

std::uint64_t fnv1a64(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    }
    return hash;
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

struct Span {
    std::uint64_t offset;
    std::string_view bytes;
};

/// The spans of a whole journal for a file of `length` bytes; false for a
/// damaged journal, one for another length, or one whose spans leave the file.
bool parse(std::string_view journal, std::uint64_t length, std::vector<Span>& spans)
{
    if (journal.size() < kMagic.size() + 8 + 4 + 8 || journal.substr(0, kMagic.size()) != kMagic)
        return false;
    const std::string_view body = journal.substr(0, journal.size() - 8);
    std::size_t at = body.size();
    std::uint64_t checksum = 0;
    if (!takeNumber(journal, at, 8, checksum) || checksum != fnv1a64(body))
        return false;
    at = kMagic.size();
    std::uint64_t target = 0, count = 0;
    if (!takeNumber(body, at, 8, target) || target != length || !takeNumber(body, at, 4, count))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t offset = 0, size = 0;
        if (!takeNumber(body, at, 8, offset) || !takeNumber(body, at, 8, size))
            return false;
        if (size > body.size() - at || offset > length || size > length - offset)
            return false;
        spans.push_back({offset, body.substr(at, static_cast<std::size_t>(size))});
        at += static_cast<std::size_t>(size);
    }
    return at == body.size();
}

Status writeBack(ByteFile& file, std::uint64_t offset, std::string_view bytes)
{
    return file.write(offset, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace

std::string journalPath(const std::string& path)
{
    const std::string folder = folderOf(path);
    // The name follows the folder and its separator; a root keeps its own.
    std::string_view name = std::string_view(path).substr(folder.size());
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        name.remove_prefix(1);
    std::string journal = ".";
    journal.append(name);
    journal.append(".varnhold-journal");
    return joinPath(folder, journal);
}

Result<std::string> rollBackUnfinishedPatch(FileSystem& files, const std::string& path, ByteFile& file)
{
    const std::string journal = journalPath(path);
    auto cannot = [&path](const std::string& why) {
        return Status::failure("Could not roll back the unfinished patch of " + path + ": " + why +
                                   "\rNothing was written.",
                               {}, path);
    };
    // A journal still being made when its program was killed is only a
    // temporary file: the patch had not begun.
    if (auto cleared = files.removeLeftovers(journal); !cleared)
        return cannot(cleared.error());
    auto found = files.entry(journal);
    if (!found)
        return cannot(found.reason());
    if (found->kind == Entry::Kind::Missing)
        return std::string();
    if (found->kind != Entry::Kind::Regular)
        return Status::failure(journal + " is in the way of the patch journal (it is not a regular file);\r"
                                         "move it away and try again.",
                               {}, path);
    auto bytes = files.readAll(journal);
    if (!bytes)
        return cannot(bytes.error());
    std::vector<Span> spans;
    const bool whole = parse(*bytes, file.size(), spans);
    if (whole) {
        for (const Span& span : spans)
            if (auto written = writeBack(file, span.offset, span.bytes); !written)
                return cannot(written.reason());
        if (auto synced = file.sync(); !synced)
            return cannot(synced.reason());
    }
    // Rolled back, or never begun: either way the file is as it was.
    if (auto removed = files.remove(journal); !removed)
        return cannot(removed.error());
    if (!whole)
        return std::string();
    return "An unfinished patch of " + path + " was rolled back.";
}

Result<PatchJournal> PatchJournal::begin(FileSystem& files, const std::string& path, ByteFile& file,
                                         std::span<const PatchSpan> spans)
{
    const std::string journal = journalPath(path);
    std::vector<Saved> saved;
    std::string bytes(kMagic);
    putNumber(bytes, file.size(), 8);
    putNumber(bytes, spans.size(), 4);
    for (const PatchSpan& span : spans) {
        Saved old{span.offset, std::vector<std::uint8_t>(static_cast<std::size_t>(span.length))};
        if (auto read = file.read(span.offset, old.bytes); !read)
            return read;
        putNumber(bytes, span.offset, 8);
        putNumber(bytes, span.length, 8);
        bytes.append(reinterpret_cast<const char*>(old.bytes.data()), old.bytes.size());
        saved.push_back(std::move(old));
    }
    putNumber(bytes, fnv1a64(bytes), 8);
    if (auto made = files.createNew(journal, bytes); !made)
        return Status::failure("Could not make the patch journal " + journal + ": " + made.reason(), {}, path);
    return PatchJournal(files, journal, std::move(saved));
}

Status PatchJournal::finish(ByteFile& file)
{
    if (auto synced = file.sync(); !synced)
        return synced;
    return files_->remove(journal_);
}

void PatchJournal::discard()
{
    // One left behind makes the next patch put back the bytes the file still has.
    (void)files_->remove(journal_);
}

bool PatchJournal::undo(ByteFile& file)
{
    for (const Saved& old : saved_)
        if (!file.write(old.offset, old.bytes))
            return false;
    return file.sync() && files_->remove(journal_);
}

} // namespace platform
