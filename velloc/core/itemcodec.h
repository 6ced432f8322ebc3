#pragma once

// The game's item text files (Itemdesc.edt, Braydesc.edt): 351 records of
// 800 bytes, each a row of text fields of 16-bit units. Only the low byte of
// a unit carries a character: code c is stored as c + 1, a space as 32; a
// stored 0 or 1 ends the text. The high bytes, and every unit after a text's
// end, belong to the game and are never written.
//
//   Items record:     short name  0..159 (80 units), full name 160..319 (80),
//                     description 320..799 (240)
//   Bobby Ray record: name 0..159 (80), description 160..799 (320)

// standard
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/gamefilepatch.h"
#include "platform/result.h"
#include "velloc/core/itemtexts.h"

namespace velloc {

struct FieldLayout {
    Field field;
    int offset; // byte offset in the record
    int units;  // 16-bit units of the field
};

/// The fields of a record of this type, in file order.
std::span<const FieldLayout> recordLayout(FileType type);

/// Decodes a whole item text file (kItemFileLength bytes) into texts of
/// `type`: every short name and description, and the full names only for
/// Items (a Bobby Ray file keeps the full names the texts held before).
/// Sets texts.fileType.
void decodeItemFile(std::span<const std::uint8_t> file, FileType type, ItemTexts& texts);

/// A text that cannot be written into its field: too long, or holding a
/// character that has no stored form (code 0 would read as the end of the
/// text, code 31 as a space, and code 255 does not fit a byte).
struct EncodingProblem {
    int item;
    Field field;
    std::string reason; // "is 250 characters long; 240 fit"
};

/// Every text of the model that its field of texts.fileType cannot hold in
/// `file`, the bytes of the item text file it is to be written into. A field
/// of U units holds U - 1 characters and the end marker. A text of exactly U
/// characters is accepted only where `file` already holds exactly that text
/// in that field, with no end marker: it is then left as it stands, so a full
/// field read and written back, or exported and applied again, keeps its
/// bytes, and no text is ever put into a field without its marker (the game
/// would read on into the next field). Where the text came from (the file
/// itself, a text form, the editor) does not matter.
std::vector<EncodingProblem> encodingProblems(const ItemTexts& texts, std::span<const std::uint8_t> file);

/// Writes the texts into the file's bytes: for each text its characters and
/// the end marker after them, in low bytes only. A text of a whole field that
/// the field already holds (as encodingProblems accepts it) leaves the field
/// untouched; any other text longer than the field allows is cut to U - 1
/// characters and its marker, so no field is ever left without one. Requires
/// a file of kItemFileLength bytes and no encoding problems.
void encodeItemFile(const ItemTexts& texts, std::span<std::uint8_t> file);

/// The bytes Velloc owns in the item text file at `path`: all of them. A
/// file that is not kItemFileLength bytes long is refused.
platform::OwnedBytes itemRecords(const std::string& path);

/// Reads the item text file at path as `type` into a copy of `previous`
/// (full names of a Bobby Ray file are kept from it), through the one
/// game-file path, which honours an unfinished patch as `reading` says
/// (platform/gamefilepatch.h). Fails with a message when the file cannot be
/// read or is not kItemFileLength bytes long.
platform::Result<ItemTexts> readdata(platform::FileSystem& files, const std::string& path, FileType type,
                                     const ItemTexts& previous,
                                     platform::Reading reading = platform::Reading::ReadOnly);

/// Patches the texts into the existing item text file at path, laid out by
/// texts.fileType, through the one game-file patch path: held exclusively
/// from the opening to the end of the patch (a file another program holds is
/// refused as in use), an unfinished patch rolled back first, the untouched
/// file kept in path.bak, the changed bytes written under a rollback
/// journal, and nothing when no byte changes. Refuses, writing nothing, when
/// the file is missing or not kItemFileLength bytes long, or when a text
/// cannot be encoded (the message names each item and field).
platform::Status writedata(platform::FileSystem& files, const std::string& path, const ItemTexts& texts);

/// The texts to write into an item file, made from the texts it holds now;
/// or a refusal, which writes nothing.
using TextsChange = std::function<platform::Result<ItemTexts>(const ItemTexts& current)>;

/// Reads and patches the item text file at path under one exclusive hold, so
/// that no other program changes it between the read and the write: its
/// texts are decoded as `type` (full names of a Bobby Ray file are empty),
/// `change` makes the texts to write from them, and these are written as
/// writedata writes them, with the same refusals and backup.
platform::Status patchItemFile(platform::FileSystem& files, const std::string& path, FileType type,
                               const TextsChange& change);

/// What a save of the window's texts into an item text file wrote, when it
/// kept the changes another program made to the file since the window read
/// it.
struct MergedTexts {
    ItemTexts texts;            // the window's texts as the file now holds them
    std::size_t theirsKept = 0; // texts the other program changed, kept
    bool cancelled = false;     // a conflict was asked about and the save cancelled
};

/// The fields (item, field) changed on both sides differently; true to let
/// the window's texts overwrite them, false to cancel the save.
using ResolveTextConflicts = std::function<bool(const std::vector<std::pair<int, Field>>& clashes)>;

/// Patches the window's texts (`ours`, of ours.fileType) into the item file
/// at path, whose texts were `base` when the window read or last wrote it,
/// under one hold: a text (an item's short name, full name or description)
/// that only another program changed keeps the other program's text, one
/// changed only here gets ours, and texts changed on both sides to
/// different values are asked about once (`resolve`); a cancel writes
/// nothing. Everything else as writedata.
platform::Result<MergedTexts> writedataOver(platform::FileSystem& files, const std::string& path,
                                            const ItemTexts& ours, const ItemTexts& base,
                                            const ResolveTextConflicts& resolve);

} // namespace velloc
