#pragma once

// The one way every program reads and patches a game file in place. Each
// kind of game file gives the run of bytes its program owns (OwnedBytes);
// this path does the rest, the same for all:
//
//   patch: open for exclusive use; roll back an unfinished patch; check the
//          length; read the owned bytes; let the caller's step turn them into
//          the bytes to write; back up the untouched file; journal the old
//          and new bytes of every run that changes; write; flush; remove the
//          journal. A failure after the first write puts the old bytes back,
//          or says plainly that the file may be half-written and the journal
//          beside it will put it right. A step that changes no byte makes
//          the backup (when there is none) and writes nothing else.
//
//   read:  a program that will write the file later (a window's Open) holds
//          it as a patch does and rolls back an unfinished patch for real.
//          A program that only reads (and a window given a file it may not
//          write, or one another program holds) opens it for reading and
//          never shows a half-written file as whole: a journal that proves
//          itself is applied in memory, with a note that says so; a journal
//          that does not is refused, naming it, as a patch would refuse it.

// standard
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/journal.h"
#include "platform/result.h"

namespace platform {

/// The owned bytes of a game file as read, with the file's length.
struct GameFileBytes {
    std::uint64_t length = 0; // of the whole file
    PatchSpan owned;          // where the bytes lie in it
    std::vector<std::uint8_t> bytes;
};

/// Turns the owned bytes as the file holds them (an unfinished patch rolled
/// back) into the bytes to write there, of the same length; or refuses, and
/// then nothing is written. The refusal is given back as it is.
using PatchStep = std::function<Result<std::vector<std::uint8_t>>(const GameFileBytes& current)>;

/// Patches the game file at `path` through the step, all or nothing, with
/// the backup made first. A patch an earlier program left unfinished is
/// rolled back first and a note is added (FileSystem::addNote). When the
/// step changes no byte, the backup is made all the same (when there is
/// none) and nothing else is written: no journal, no byte of the file.
[[nodiscard]] Status patchGameFile(FileSystem& files, const std::string& path, const OwnedBytes& owned,
                                   const PatchStep& step);

enum class Reading {
    ToEdit,   // a window that will save the file later: roll back for real
    ReadOnly, // a program that only reads: roll back in memory alone
};

/// Reads the owned bytes of the game file at `path` as the header says. A
/// failure names the file, or the journal that was refused.
[[nodiscard]] Result<GameFileBytes> readGameFile(FileSystem& files, const std::string& path, const OwnedBytes& owned,
                                                 Reading reading);

/// The note of a reader that showed a file as its unfinished patch's
/// rollback will leave it.
std::string shownRolledBackNote(const std::string& path);

} // namespace platform
