#include "cli/dryrun.h"

// standard
#include <algorithm>
#include <cstring>

// ours
#include "cli/changes.h"
#include "cli/command.h"
#include "platform/bytefilechecks.h"
#include "platform/filefailure.h"
#include "platform/journal.h"

namespace cli {

namespace {

platform::Status missing(std::string_view what, const std::string& path)
{
    return platform::fileFailure(what, path, "No such file or directory");
}

} // namespace

/// A file opened through the dry-run file system. What is written goes into
/// memory, as runs of bytes kept for this opening and the next, and reads
/// come from the file with those runs laid over it. A file made in memory
/// lives there alone.
class ShadowFile final : public platform::ByteFile {
public:
    ShadowFile(DryRunFileSystem& files, std::string path, std::unique_ptr<platform::ByteFile> real, bool writable)
        : files_(files), path_(std::move(path)), real_(std::move(real)), writable_(writable)
    {
    }

    std::uint64_t size() const override { return real_ ? real_->size() : made().size(); }

    platform::Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        if (auto refused = platform::checkRead(open_, path_, size(), offset, out.size()); !refused)
            return refused;
        if (!real_) {
            std::memcpy(out.data(), made().data() + offset, out.size());
            return platform::Status::success();
        }
        if (auto read = real_->read(offset, out); !read)
            return read;
        const std::uint64_t end = offset + out.size();
        const DryRunFileSystem::Runs& runs = files_.written(path_);
        auto run = runs.upper_bound(offset);
        if (run != runs.begin())
            --run;
        for (; run != runs.end() && run->first < end; ++run) {
            const std::uint64_t from = std::max(offset, run->first);
            const std::uint64_t to = std::min<std::uint64_t>(end, run->first + run->second.size());
            if (from < to)
                std::memcpy(out.data() + (from - offset), run->second.data() + (from - run->first), to - from);
        }
        return platform::Status::success();
    }

    platform::Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
    {
        if (auto refused = platform::checkWrite(open_, writable_, path_, size(), offset, data.size()); !refused)
            return refused;
        if (data.empty())
            return platform::Status::success();
        if (!real_) {
            std::memcpy(made().data() + offset, data.data(), data.size());
            return platform::Status::success();
        }
        // The new run takes in every run it touches or meets.
        DryRunFileSystem::Runs& runs = files_.shadows_[path_];
        std::uint64_t begin = offset, end = offset + data.size();
        auto first = runs.upper_bound(offset);
        if (first != runs.begin() && std::prev(first)->first + std::prev(first)->second.size() >= offset)
            --first;
        auto last = first;
        while (last != runs.end() && last->first <= end)
            ++last;
        if (first != last) {
            begin = std::min(begin, first->first);
            end = std::max<std::uint64_t>(end, std::prev(last)->first + std::prev(last)->second.size());
        }
        std::vector<std::uint8_t> merged(static_cast<std::size_t>(end - begin));
        for (auto run = first; run != last; ++run)
            std::memcpy(merged.data() + (run->first - begin), run->second.data(), run->second.size());
        std::memcpy(merged.data() + (offset - begin), data.data(), data.size());
        runs.erase(first, last);
        runs.emplace(begin, std::move(merged));
        return platform::Status::success();
    }

    platform::Status sync() override { return platform::Status::success(); }

    platform::Status close() override
    {
        open_ = false;
        return real_ ? real_->close() : platform::Status::success();
    }

private:
    std::string& made() const { return files_.made_[path_]; }

    DryRunFileSystem& files_;
    std::string path_;
    std::unique_ptr<platform::ByteFile> real_;
    bool writable_;
    bool open_ = true;
};

const DryRunFileSystem::Runs& DryRunFileSystem::written(const std::string& path) const
{
    static const Runs none;
    const auto found = shadows_.find(path);
    return found == shadows_.end() ? none : found->second;
}

bool DryRunFileSystem::isFile(const std::string& path)
{
    if (made_.count(path))
        return true;
    return !removed_.count(path) && real_.isFile(path);
}

platform::Result<std::uint64_t> DryRunFileSystem::length(const std::string& path)
{
    if (const auto made = made_.find(path); made != made_.end())
        return std::uint64_t(made->second.size());
    if (removed_.count(path))
        return missing("Could not open", path);
    return real_.length(path);
}

platform::Status DryRunFileSystem::remove(const std::string& path)
{
    if (!isFile(path))
        return missing("Could not remove", path);
    made_.erase(path);
    shadows_.erase(path);
    removed_.insert(path);
    return platform::Status::success();
}

platform::Result<std::unique_ptr<platform::ByteFile>> DryRunFileSystem::openExisting(const std::string& path,
                                                                                     platform::Access access)
{
    const bool writable = access != platform::Access::Read;
    if (made_.count(path))
        return std::unique_ptr<platform::ByteFile>(std::make_unique<ShadowFile>(*this, path, nullptr, writable));
    if (removed_.count(path))
        return missing("Could not open", path);
    auto real = real_.openExisting(path, opening_ == Opening::ForReading ? platform::Access::Read : access);
    if (!real)
        return real.status();
    return std::unique_ptr<platform::ByteFile>(
        std::make_unique<ShadowFile>(*this, path, std::move(*real), writable));
}

platform::Result<std::string> DryRunFileSystem::readAll(const std::string& path)
{
    if (const auto made = made_.find(path); made != made_.end())
        return made->second;
    if (removed_.count(path))
        return missing("Could not read", path);
    auto bytes = real_.readAll(path);
    if (bytes)
        for (const auto& [offset, run] : written(path))
            if (offset + run.size() <= bytes->size())
                std::memcpy(bytes->data() + offset, run.data(), run.size());
    return bytes;
}

platform::Status DryRunFileSystem::replaceAtomically(const std::string& path, std::string_view bytes)
{
    removed_.erase(path);
    shadows_.erase(path);
    made_[path] = std::string(bytes);
    return platform::Status::success();
}

platform::Result<platform::Entry> DryRunFileSystem::entry(const std::string& path)
{
    if (const auto made = made_.find(path); made != made_.end())
        return platform::Entry{platform::Entry::Kind::Regular, made->second.size(), 1};
    if (removed_.count(path))
        return platform::Entry{};
    return real_.entry(path);
}

platform::Status DryRunFileSystem::createNew(const std::string& path, std::string_view bytes)
{
    auto found = entry(path);
    if (!found)
        return found.status();
    if (found->kind != platform::Entry::Kind::Missing)
        return platform::fileFailure("Could not save", path, "File exists");
    // The patch would make this file (its backup, its journal) beside the
    // game file: a folder that takes no new name refuses the dry run as it
    // would refuse the patch.
    if (auto refused = real_.checkCreatable(path); !refused)
        return refused;
    return replaceAtomically(path, bytes);
}

platform::Status DryRunFileSystem::checkCreatable(const std::string& path)
{
    return real_.checkCreatable(path);
}

platform::Status DryRunFileSystem::removeLeftovers(const std::string&)
{
    // Leftovers stay where they are: the real patch removes them.
    return platform::Status::success();
}

platform::Result<std::unique_ptr<platform::UpdateHold>> DryRunFileSystem::holdUpdates(const std::string&,
                                                                                     std::chrono::milliseconds)
{
    return std::unique_ptr<platform::UpdateHold>(std::make_unique<platform::UpdateHold>());
}

platform::Result<std::uint64_t> differingBytes(DryRunFileSystem& a, DryRunFileSystem& b, const std::string& path)
{
    DryRunFileSystem::Runs ranges = a.written(path);
    for (const auto& [offset, run] : b.written(path))
        if (auto& bytes = ranges[offset]; bytes.size() < run.size())
            bytes.resize(run.size());
    auto fileA = a.openExisting(path, platform::Access::Read);
    if (!fileA)
        return fileA.status();
    auto fileB = b.openExisting(path, platform::Access::Read);
    if (!fileB)
        return fileB.status();
    // A byte counts once, however many ranges hold it.
    std::uint64_t differing = 0, counted = 0;
    for (const auto& [offset, run] : ranges) {
        const std::uint64_t from = std::max(offset, counted), to = offset + run.size();
        if (from >= to)
            continue;
        std::vector<std::uint8_t> x(static_cast<std::size_t>(to - from)), y(x.size());
        if (auto read = (*fileA)->read(from, x); !read)
            return read;
        if (auto read = (*fileB)->read(from, y); !read)
            return read;
        for (std::size_t i = 0; i < x.size(); ++i)
            differing += x[i] != y[i];
        counted = to;
    }
    (void)(*fileA)->close();
    (void)(*fileB)->close();
    return differing;
}

platform::Result<std::string> previewRollBack(DryRunFileSystem& files, const std::string& path)
{
    auto file = files.openExisting(path, platform::Access::ReadWrite);
    if (!file)
        return file.status();
    // A file of no game file's length is refused by the patch itself.
    const std::optional<GameFile> kind = gameFileKind((*file)->size());
    if (!kind)
        return std::string();
    auto rolledBack = platform::rollBackUnfinishedPatch(files, path, **file, ownedBytes(*kind, path));
    if (auto closed = (*file)->close(); !closed)
        return closed;
    return rolledBack;
}

namespace {

/// A refusal of a patch as the console says it: one that does not say what
/// became of the file (a file in use, a step's refusal) ends with "Nothing
/// was written.", as the patch's other refusals do; one that says it (the
/// bytes were put back, the file may be half-written, the patch was not
/// made) is left as it is.
platform::Status patchRefusal(const platform::Status& failure)
{
    for (const char* said : {platform::Status::kNothingWritten, "was not made", "put back", "half-written",
                             "rolled back"})
        if (failure.error().find(said) != std::string::npos)
            return failure;
    return failure.nothingWritten();
}

} // namespace

void reportRefusal(const std::string& file, const platform::Status& failure)
{
    report(file, patchRefusal(failure));
}

int runPatch(platform::FileSystem& files, const std::string& game, const Patch& patch)
{
    const PatchOutcome outcome = patch(files);
    reportNotes(files, game); // a rolled-back patch, which names the file
    if (!outcome.status) {
        report(outcome.file, patchRefusal(outcome.status));
        return kRefused;
    }
    for (const std::string& remark : outcome.remarks)
        report(game, remark);
    return kSuccess;
}

int dryRunPatch(platform::FileSystem& files, const std::string& game, const Patch& patch, const ChangeList& changes)
{
    DryRunFileSystem after(files);
    const PatchOutcome outcome = patch(after);
    if (!after.takeNotes().empty())
        report(game, "An unfinished patch of it would be rolled back first; the changes shown start from there.");
    if (!outcome.status) {
        report(outcome.file, patchRefusal(outcome.status));
        return kRefused;
    }
    for (const std::string& remark : outcome.remarks)
        report(game, remark);

    // The file as the patch found it: the same rollback, in memory of its own.
    DryRunFileSystem before(files, DryRunFileSystem::Opening::ForReading);
    if (auto rolledBack = previewRollBack(before, game); !rolledBack) {
        report(game, rolledBack.status());
        return kRefused;
    }
    // A file neither wrote to reads the same through both: nothing changes.
    if (before.written(game).empty() && after.written(game).empty())
        return kSuccess;
    auto lines = changes(before, after);
    if (!lines) {
        report(lines.path().empty() ? game : lines.path(), lines.status());
        return kRefused;
    }
    // A change of bytes that no field shows is still a change.
    if (lines->empty()) {
        auto differing = differingBytes(before, after, game);
        if (!differing) {
            report(game, differing.status());
            return kRefused;
        }
        if (*differing != 0)
            lines->push_back("bytes: " + std::to_string(*differing) + " change outside the fields shown");
    }
    std::string text;
    for (const std::string& line : *lines)
        text += line + "\n";
    if (text.empty())
        return kSuccess;
    if (auto written = writeStandardOutput(text, game); !written) {
        report(written);
        return kRefused;
    }
    return kSuccess;
}

} // namespace cli
