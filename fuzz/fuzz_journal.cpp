// The rollback journal beside a game file: any bytes as the journal of a
// 64-byte file whose bytes 16 to 47 the program owns. Each input is tried
// twice: as it is, and followed by its own SHA-256, as whoever plants a
// journal can make it, so that mutations get past the hash to the rules
// behind it. Whatever the journal says:
//   - a reader changes nothing, neither the file nor the journal;
//   - a window that will save the file changes no byte outside the owned
//     run and never its length; it refuses where the reader refuses, and
//     otherwise leaves the bytes the reader showed, removes the journal,
//     and says so exactly when it changed the file; a refusal changes
//     nothing;
//   - after that, the next window finds nothing to roll back.
// seedgen writes this file's seeds for the same 64 bytes (fileBytes below).

// standard
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Qt
#include <QCryptographicHash>

// ours
#include "platform/gamefilepatch.h"
#include "tests/support/memoryfilesystem.h"

namespace {

constexpr char kPath[] = "/game/vrn.exe";
constexpr std::uint64_t kLength = 64, kOwnedFrom = 16, kOwnedTo = 48;

// Byte i is i * 37 + 11: no two neighbours alike, so a shifted write shows.
std::string fileBytes()
{
    std::string bytes(kLength, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    return bytes;
}

platform::Result<platform::PatchSpan> owned(std::uint64_t length)
{
    if (length != kLength)
        return platform::Status::failure("The file has changed its length.");
    return platform::PatchSpan{kOwnedFrom, kOwnedTo - kOwnedFrom};
}

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            __builtin_trap();                                                                                          \
    } while (false)

void tryJournal(const std::string& journal)
{
    const std::string original = fileBytes();
    const std::string journalPath = platform::journalPath(kPath);
    fuzz::MemoryFileSystem files;
    files.files = {{kPath, original}, {journalPath, journal}};
    const auto before = files.files;

    auto shown = platform::readGameFile(files, kPath, owned, platform::Reading::ReadOnly);
    CHECK(files.files == before);
    (void)files.takeNotes();

    auto edited = platform::readGameFile(files, kPath, owned, platform::Reading::ToEdit);
    const std::string& after = files.files.at(kPath);
    CHECK(after.size() == kLength);
    CHECK(after.compare(0, kOwnedFrom, original, 0, kOwnedFrom) == 0);
    CHECK(after.compare(kOwnedTo, std::string::npos, original, kOwnedTo, std::string::npos) == 0);
    CHECK(shown.ok() == edited.ok());
    if (!edited) {
        CHECK(files.files == before);
        return;
    }
    CHECK(shown->bytes == edited->bytes);
    CHECK(files.files.count(journalPath) == 0);
    CHECK(files.takeNotes().empty() == (after == original));

    auto next = platform::readGameFile(files, kPath, owned, platform::Reading::ToEdit);
    CHECK(next && next->bytes == edited->bytes && files.takeNotes().empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    tryJournal(input);
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(input.data(), qsizetype(input.size())),
                                                     QCryptographicHash::Sha256);
    tryJournal(input + std::string(hash.constData(), std::size_t(hash.size())));
    return 0;
}
