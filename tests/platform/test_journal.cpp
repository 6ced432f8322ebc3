// The rollback journal of an in-place patch and the one patch path through
// it, on a 64-byte file and on each kind's own bytes. Each program's kill at
// every step of its patch is in its own fault tests.

// standard
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// Qt
#include <QCryptographicHash>

// GoogleTest
#include <gmock/gmock.h>
#include <gtest/gtest.h>

// ours
#include "brackel/core/exetable.h"
#include "kestrin/core/encapsulatedfile.h"
#include "platform/backup.h"
#include "platform/gamefilepatch.h"
#include "platform/journal.h"
#include "platform/nativefilesystem.h"
#include "tests/support/faultcases.h"
#include "platform/temporarynames.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/memoryfilesystem.h"
#include "tests/support/tempdir.h"
#include "velloc/core/itemcodec.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::FaultyFileSystem;
using testsupport::patternBytes;
using testsupport::rolledBackNote;
using testsupport::readFile;
using testsupport::writeFile;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kMagic = "varnhold patch journal 2\n";

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::string number(std::uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

/// A 64-byte file of which the program owns bytes 16 to 47.
Result<PatchSpan> middle(std::uint64_t length)
{
    if (length != 64)
        return Status::failure("The file has " + std::to_string(length) + " bytes, not 64.");
    return PatchSpan{16, 32};
}

/// A step that writes `text` at `at` of the owned bytes.
PatchStep writing(std::size_t at, std::string_view text)
{
    return [=](const GameFileBytes& current) -> Result<std::vector<std::uint8_t>> {
        auto next = current.bytes;
        std::copy(text.begin(), text.end(), next.begin() + std::ptrdiff_t(at));
        return next;
    };
}

class Journal : public ::testing::Test {
protected:
    Journal() { writeFile(file, old); }

    /// The change of the bytes at `offset` to `now`, from what `old` holds.
    PatchJournal::Change change(std::uint64_t offset, std::string_view now) const
    {
        return {offset, bytesOf(std::string_view(old).substr(offset, now.size())), bytesOf(now)};
    }

    /// What the next program does first, holding the file for itself: the
    /// note of its rollback, or why it refused.
    static std::string rollBack(FileSystem& files, const std::string& path, const OwnedBytes& owned = middle)
    {
        auto held = files.openExisting(path, Access::ReadWriteExclusive);
        auto note = held ? rollBackUnfinishedPatch(files, path, **held, owned) : Result<std::string>(held.status());
        return note ? *note : "refused: " + note.error();
    }
    std::string rollBack()
    {
        FaultyFileSystem files;
        return rollBack(files, file);
    }

    /// A journal the rules refuse: kept, named, and the file, with no backup
    /// made, exactly as it was, whether a patch or a reader meets it.
    void expectRefused(const std::string& path, const OwnedBytes& owned, const std::string& planted,
                       const std::string& why)
    {
        const std::string journal = journalPath(path), before = readFile(path);
        writeFile(journal, planted);
        FaultyFileSystem files;
        EXPECT_THAT(rollBack(files, path, owned),
                    HasSubstr("refused: The patch journal " + journal + " cannot be rolled back: " + why));
        const Status patched = patchGameFile(files, path, owned, writing(0, "PATCH"));
        EXPECT_THAT(patched.error(), AllOf(HasSubstr(journal), HasSubstr(Status::kNothingWritten)));
        for (Reading reading : {Reading::ReadOnly, Reading::ToEdit})
            EXPECT_THAT(readGameFile(files, path, owned, reading).error(), HasSubstr(journal));
        EXPECT_TRUE(files.takeNotes().empty());
        EXPECT_TRUE(readFile(path) == before);
        EXPECT_TRUE(readFile(journal) == planted);
        EXPECT_FALSE(fs::exists(backupPath(path)));
        fs::remove(journal);
    }

    testsupport::TempDir dir;
    const std::string file = dir.file("vrn.exe");
    const std::string journal = dir.file(".vrn.exe.varnhold-journal");
    const std::string old = patternBytes(64, 1);
};

TEST_F(Journal, HoldsOldAndNewBytesUnderItsHashAndRollsBackAKilledPatch)
{
    EXPECT_EQ(journalPath(file), journal);
    EXPECT_EQ(journalPath("vrn.exe"), ".vrn.exe.varnhold-journal");

    const std::vector<PatchJournal::Change> changes = {change(20, "NEWBYTES"), change(36, "xy")};
    std::string expected = kMagic + number(64, 8) + number(2, 4);
    expected += number(20, 8) + number(8, 8) + old.substr(20, 8) + "NEWBYTES";
    expected += number(36, 8) + number(2, 8) + old.substr(36, 2) + "xy";
    expected += QCryptographicHash::hash(QByteArray::fromStdString(expected), QCryptographicHash::Sha256)
                    .toStdString();
    EXPECT_EQ(PatchJournal::encode(64, changes), expected);

    FaultyFileSystem files;
    auto begun = PatchJournal::begin(files, file, 64, changes);
    ASSERT_TRUE(begun) << begun.error();
    EXPECT_EQ(readFile(journal), expected);

    // Killed with 5 of the first span's 8 new bytes on the disk.
    files.killAfter[file] = 5;
    auto held = files.openExisting(file, Access::ReadWriteExclusive);
    ASSERT_TRUE(held);
    EXPECT_THROW((void)begun->write(**held), testsupport::Killed);
    held->reset();
    EXPECT_EQ(readFile(file), old.substr(0, 20) + "NEWBY" + old.substr(25));

    EXPECT_EQ(rollBack(), rolledBackNote(file));
    EXPECT_EQ(readFile(file), old);
    EXPECT_FALSE(fs::exists(journal));
}

// Each single bit of a journal flipped: the hash turns down every flip
// after the version line, and none ever writes into the file.
TEST_F(Journal, AFlippedBitNeverWritesAndTheHashCatchesItPastTheVersionLine)
{
    const std::string whole = PatchJournal::encode(64, {change(20, "NEW!")});
    const std::string torn = old.substr(0, 20) + "NE" + old.substr(22);
    const std::string path = "/game/vrn.exe", at = journalPath(path);
    auto run = [&](const std::string& bytes) {
        fuzz::MemoryFileSystem files;
        files.files = {{path, torn}, {at, bytes}};
        const std::string note = rollBack(files, path);
        return std::tuple(note, files.files[path], files.files.count(at) != 0);
    };
    ASSERT_EQ(std::get<1>(run(whole)), old); // unflipped, it rolls back

    for (std::size_t i = 0; i < whole.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            SCOPED_TRACE("byte " + std::to_string(i) + " bit " + std::to_string(bit));
            std::string flipped = whole;
            flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
            const auto [note, after, kept] = run(flipped);
            EXPECT_TRUE(after == torn);
            EXPECT_TRUE(i < kMagic.size() || !kept); // the hash is what stops it
            if (kept)
                EXPECT_THAT(note, HasSubstr("refused: The patch journal " + at + " cannot be rolled back"));
            else
                EXPECT_EQ(note, "");
        }
}

/// The 64-bit FNV-1a hash, which journals of the previous release end with.
std::uint64_t fnv1a64(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes)
        hash = (hash ^ byte) * 0x100000001b3ULL;
    return hash;
}

TEST(Fnv1a64, GivesThePublishedValues)
{
    EXPECT_EQ(fnv1a64(""), 0xcbf29ce484222325ULL);
    EXPECT_EQ(fnv1a64("a"), 0xaf63dc4c8601ec8cULL);
    EXPECT_EQ(fnv1a64("foobar"), 0x85944171f73967e8ULL);
}

TEST_F(Journal, OneThatDoesNotProveItselfIsRefusedKeptAndNothingWritten)
{
    const std::string planted = "PLANTED!";
    const auto plant = [&](std::uint64_t offset) { // old bytes of the planter's, new ones the file's
        return PatchJournal::Change{offset, bytesOf(planted), bytesOf(old.substr(offset, 8))};
    };
    // Another file's journal: its bytes there are neither old nor new here.
    const PatchJournal::Change foreign{20, bytesOf(patternBytes(64, 7).substr(20, 8)),
                                       bytesOf(patternBytes(64, 8).substr(20, 8))};
    std::string v1 = "varnhold patch journal 1\n" + number(64, 8) + number(1, 4) + number(20, 8) + number(8, 8) +
                     old.substr(20, 8);
    v1 += number(fnv1a64(v1), 8); // whole and hashed as that release wrote it
    const std::string v2 = PatchJournal::encode(64, {plant(20)});
    struct Row {
        const char* name;
        std::string bytes, why;
    };
    const Row rows[] = {
        {"outside the owned run", PatchJournal::encode(64, {plant(0)}), "a span at byte 0 lies outside"},
        {"across its start", PatchJournal::encode(64, {plant(12)}), "a span at byte 12 lies outside"},
        {"across its end", PatchJournal::encode(64, {plant(44)}), "a span at byte 44 lies outside"},
        {"overlapping", PatchJournal::encode(64, {plant(20), plant(24)}), "its spans overlap or are out of order"},
        {"out of order", PatchJournal::encode(64, {plant(36), plant(20)}), "its spans overlap or are out of order"},
        {"no span", PatchJournal::encode(64, {}), "it holds no span"},
        {"an empty span", PatchJournal::encode(64, {{20, {}, {}}}), "it holds an empty span"},
        {"another length", PatchJournal::encode(65, {plant(20)}), "it was made for a file of 65 bytes"},
        {"another file's", PatchJournal::encode(64, {foreign}), "byte 20 of the file holds neither"},
        {"a newer version", "varnhold patch journal 3\n" + v2.substr(kMagic.size()),
         "it was written by another version of the editors (varnhold patch journal 3)"},
        {"the previous release", v1, "it was written by another version of the editors (varnhold patch journal 1)"},
        {"longer than any", kMagic + std::string(700, 'x'), "it is 725 bytes long, longer than any journal"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectRefused(file, middle, row.bytes, row.why);
    }

    // The same through each kind's own bytes, in a file of its length.
    struct Kind {
        const char* name;
        std::uint64_t length;
        std::function<OwnedBytes(const std::string&)> owned;
        std::uint64_t outside; // where 8 bytes are not all the kind's
    };
    const Kind kinds[] = {
        {"executable", 2439168,
         [](const std::string& path) { return brackel::attachmentTable(path, *brackel::detectversion(2439168)); }, 0},
        {"item texts", 280800, velloc::itemRecords, 280800 - 4},
        {"profile", 1000, kestrin::profileRecord, 574},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string path = dir.file(kind.name), bytes = patternBytes(kind.length, 3);
        writeFile(path, bytes);
        const std::string now = (bytes + "padding!").substr(kind.outside, 8);
        expectRefused(path, kind.owned(path), PatchJournal::encode(kind.length, {{kind.outside, bytesOf(planted),
                                                                                 bytesOf(now)}}),
                      "a span at byte " + std::to_string(kind.outside) + " lies outside");
        expectRefused(path, kind.owned(path), PatchJournal::encode(kind.length + 1, {{0, {1}, {2}}}),
                      "it was made for a file of " + std::to_string(kind.length + 1) + " bytes");
    }
}

TEST_F(Journal, ASparseJournalOfSixtyFourGiBIsRefusedUnread)
{
    writeFile(journal, kMagic);
    std::error_code error;
    fs::resize_file(journal, std::uint64_t(64) << 30, error);
    if (error)
        GTEST_SKIP() << "no sparse file here: " << error.message();
    FaultyFileSystem files;
    for (Reading reading : {Reading::ReadOnly, Reading::ToEdit})
        EXPECT_THAT(readGameFile(files, file, middle, reading).error(),
                    HasSubstr(journal + " cannot be rolled back: it is 68719476736 bytes long, longer than any "
                                        "journal of this file can be"));
    EXPECT_EQ(fs::file_size(journal), std::uint64_t(64) << 30);
    EXPECT_EQ(readFile(file), old);
}

TEST_F(Journal, OneNeverWholeOrNeverReachingTheFileIsRemovedWithoutAWrite)
{
    const std::string whole = PatchJournal::encode(64, {change(20, "NEWBYTES")});
    const std::string torn = old.substr(0, 20) + "NEW" + old.substr(23);
    std::string wrongHash = whole;
    wrongHash.back() ^= 0x01;
    struct Row {
        const char* name;
        std::string at, bytes, held; // held: the file's bytes
    };
    const Row rows[] = {
        {"never reached the file", journal, whole, old},
        {"cut short", journal, whole.substr(0, whole.size() - 1), torn},
        {"cut in its first line", journal, whole.substr(0, 10), torn},
        {"of a wrong hash", journal, wrongHash, torn},
        {"empty", journal, "", torn},
        {"garbage", journal, patternBytes(200, 9), torn},
        {"a leftover of its making", dir.file(temporaryPrefix(".vrn.exe.varnhold-journal") + "Ab3dEf"), whole, torn},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(file, row.held);
        writeFile(row.at, row.bytes);
        EXPECT_EQ(rollBack(), "");
        EXPECT_FALSE(fs::exists(row.at));
        EXPECT_EQ(readFile(file), row.held);
    }
}

TEST_F(Journal, APatchThatBreaksSaysWhatTheFileHolds)
{
    const std::string putBack = "What was written was put back: the file is as it was.";
    struct Row {
        const char* name;
        std::function<void(FaultyFileSystem&)> arm;
        std::vector<std::string> said, unsaid;
        bool journalKept;
        std::string next; // the next patch's note
    };
    const Row rows[] = {
        {"a write breaks part-way", [&](FaultyFileSystem& f) { f.failWriteOnceAfter[file] = 3; },
         {"Input/output error", putBack}, {Status::kNothingWritten}, false, ""},
        {"the journal cannot be removed", [&](FaultyFileSystem& f) { f.failRemove.insert(journal); },
         {"Permission denied", putBack}, {Status::kNothingWritten}, true, ""},
        {"the undo breaks too", [&](FaultyFileSystem& f) { f.failWriteAfter[file] = 3; },
         {"half-written", "The journal " + journal + " beside it puts them back", backupPath(file)},
         {Status::kNothingWritten, putBack}, true, rolledBackNote(file)},
        {"the journal cannot be made", [&](FaultyFileSystem& f) { f.failReplace.insert(journal); },
         {"Could not make the patch journal " + journal, Status::kNothingWritten}, {putBack}, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(file, old);
        FaultyFileSystem faulty;
        row.arm(faulty);
        const Status status = patchGameFile(faulty, file, middle, writing(4, "NEWBYTES"));
        ASSERT_FALSE(status);
        for (const std::string& words : row.said)
            EXPECT_THAT(status.error(), HasSubstr(words));
        for (const std::string& words : row.unsaid)
            EXPECT_THAT(status.error(), Not(HasSubstr(words)));
        EXPECT_EQ(readFile(file) == old, row.next.empty());
        EXPECT_EQ(fs::exists(journal), row.journalKept);
        EXPECT_EQ(rollBack(), row.next);
        EXPECT_EQ(readFile(file), old);
        EXPECT_FALSE(fs::exists(journal));
        EXPECT_EQ(readFile(backupPath(file)), old);
    }
}

// Killed half-way: a reader shows the file as the rollback will leave it and
// touches nothing; a window that will save it rolls it back for real.
TEST_F(Journal, AReaderShowsTheRollbackInMemoryAndAnEditorMakesIt)
{
    FaultyFileSystem files;
    files.killAfter[file] = 3;
    EXPECT_THROW((void)patchGameFile(files, file, middle, writing(4, "NEWBYTES")), testsupport::Killed);
    const std::string torn = readFile(file), left = readFile(journal);
    ASSERT_NE(torn, old);

    FaultyFileSystem reader;
    reader.readOnly.insert(file); // a window given a file it may not write reads it as a reader
    for (Reading reading : {Reading::ReadOnly, Reading::ToEdit}) {
        auto shown = readGameFile(reader, file, middle, reading);
        ASSERT_TRUE(shown) << shown.error();
        EXPECT_EQ(std::string(shown->bytes.begin(), shown->bytes.end()), old.substr(16, 32));
        EXPECT_EQ(reader.takeNotes(), std::vector<std::string>{shownRolledBackNote(file)});
        EXPECT_EQ(readFile(file), torn);
        EXPECT_EQ(readFile(journal), left);
    }

    FaultyFileSystem editor;
    auto edited = readGameFile(editor, file, middle, Reading::ToEdit);
    ASSERT_TRUE(edited) << edited.error();
    EXPECT_EQ(std::string(edited->bytes.begin(), edited->bytes.end()), old.substr(16, 32));
    EXPECT_EQ(editor.takeNotes(), std::vector<std::string>{rolledBackNote(file)});
    EXPECT_EQ(readFile(file), old);
    EXPECT_FALSE(fs::exists(journal));
}

// A name of 244 bytes: the journal's name, and the temporary name it is made
// under, keep within 255 bytes, cut on a character, and a patch of the file
// works end to end.
TEST_F(Journal, AFileOfTheLongestNameIsPatchedAndRolledBack)
{
    std::string name = "a";
    for (int i = 0; i < 120; ++i)
        name += "\xC3\xA9"; // two bytes, so the cut meets the middle of one
    name += "exe";
    ASSERT_EQ(name.size(), 244u);
    const std::string path = dir.file(name), at = journalPath(path), journalName = at.substr(dir.path().size() + 1);
    EXPECT_EQ(temporaryPrefix(journalName), "." + journalName + ".tmp-"); // fits, so not cut again
    EXPECT_EQ(journalName.substr(0, 208), "." + name.substr(0, 207)); // before the cut character
    EXPECT_EQ(journalName.substr(journalName.size() - 17), ".varnhold-journal");
    EXPECT_NE(journalPath(dir.file(name.substr(0, 241) + "dat")), at);
    const std::string plain = journalPath(dir.file(std::string(244, 'v'))).substr(dir.path().size() + 1);
    EXPECT_EQ(temporaryPrefix(plain).size() + kTemporarySuffix, 255u); // the longest there can be

    // The name is UTF-8, which only our file system takes as it is on every
    // system: the file is made, read and looked for through it.
    NativeFileSystem native;
    const auto read = [&native](const std::string& p) {
        auto bytes = native.readAll(p);
        return bytes ? *bytes : "unreadable: " + bytes.error();
    };
    const auto exists = [&native](const std::string& p) {
        auto found = native.entry(p);
        return !found || found->kind != Entry::Kind::Missing;
    };
    ASSERT_TRUE(native.replaceAtomically(path, old));
    FaultyFileSystem files;
    const Status patched = patchGameFile(files, path, middle, writing(0, "LONG"));
    ASSERT_TRUE(patched) << patched.error();
    EXPECT_EQ(read(path), old.substr(0, 16) + "LONG" + old.substr(20));
    EXPECT_EQ(read(backupPath(path)), old);
    EXPECT_FALSE(exists(at));
    EXPECT_TRUE(files.takeNotes().empty());

    files.killAfter[path] = 2;
    EXPECT_THROW((void)patchGameFile(files, path, middle, writing(0, "NAME")), testsupport::Killed);
    EXPECT_TRUE(exists(at));
    FaultyFileSystem next;
    EXPECT_EQ(rollBack(next, path), rolledBackNote(path));
    EXPECT_EQ(read(path), old.substr(0, 16) + "LONG" + old.substr(20));
    EXPECT_FALSE(exists(at));
}

// Each failure of a journal's check names the file that failed: the journal
// when it cannot be read, the file when its own bytes cannot be; a patch and
// a reader pass the failure on as it is, writing nothing.
TEST_F(Journal, AFailureOfTheCheckNamesTheFileThatFailed)
{
    FaultyFileSystem files;
    auto begun = PatchJournal::begin(files, file, 64, {change(20, "NEWBYTES")});
    ASSERT_TRUE(begun) << begun.error();

    files.failOpen.insert(journal);
    auto held = files.openExisting(file, Access::Read);
    ASSERT_TRUE(held) << held.error();
    const auto unreadJournal = checkJournal(files, file, **held, middle);
    EXPECT_EQ(unreadJournal.error(),
              "Could not check the patch journal " + journal + ": the file is in use by another program");
    EXPECT_EQ(unreadJournal.path(), journal);
    for (Reading reading : {Reading::ReadOnly, Reading::ToEdit})
        EXPECT_EQ(readGameFile(files, file, middle, reading).path(), journal);
    files.failOpen.clear();

    /// The game file, whose every read fails.
    class Unreadable final : public ByteFile {
    public:
        explicit Unreadable(std::string path) : path_(std::move(path)) {}
        std::uint64_t size() const override { return 64; }
        Status read(std::uint64_t, std::span<std::uint8_t>) override
        {
            return Status::failure("Could not read " + path_ + ": Input/output error", "Input/output error", path_);
        }
        Status write(std::uint64_t, std::span<const std::uint8_t>) override { return Status::failure("unused"); }
        Status sync() override { return Status::success(); }
        Status close() override { return Status::success(); }

    private:
        std::string path_;
    } unreadable(file);
    const auto unreadFile = checkJournal(files, file, unreadable, middle);
    EXPECT_EQ(unreadFile.error(), "Could not read " + file + ": Input/output error");
    EXPECT_EQ(unreadFile.path(), file);
    const auto rolledBack = rollBackUnfinishedPatch(files, file, unreadable, middle);
    EXPECT_EQ(rolledBack.message().lines(),
              (std::vector<std::string>{"Could not read " + file + ": Input/output error", Status::kNothingWritten}));
    EXPECT_EQ(readFile(file), old);
    EXPECT_TRUE(fs::exists(journal)); // nothing decided, nothing removed
}

} // namespace
} // namespace platform
