#pragma once

// Our own text files (.brk, .vlc, .def, names.def, Presets.ini): 8-bit text
// in lines. Every program reads and writes them only through this module, so
// one size limit, one line rule and one guard against replacing a game file
// hold for all of them.
//
// Lines are written with CR LF; reading accepts CR LF, a lone CR and a lone
// LF (files edited on Linux) as line ends.

// standard
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace platform {

/// No text file of ours comes near this (a full .vlc is about 100 KB). A
/// larger file is not one of ours: it is never read into memory, and never
/// replaced by one.
inline constexpr std::uint64_t kMaxTextFileLength = 4u << 20;
/// The limit as every message names it: "no text file of ours is larger
/// than 4 MiB".
inline constexpr std::string_view kTextFileLimit = "no text file of ours is larger than 4 MiB";

/// The one test of the size limit: for a length over kMaxTextFileLength,
/// the reason a file of that length is not read as a text file of ours ("The
/// file is N bytes long; no text file of ours is larger than 4 MiB."), and
/// nothing for a length a text file of ours may have.
std::optional<std::string> tooLargeForText(std::uint64_t length);

/// What makes an existing file no text file of ours, which no text of ours
/// may replace or be added to.
struct NotOurText {
    enum class Kind {
        None,     // nothing: it may be one of ours
        GameFile, // it has the length of a game file; `game` says which
        TooLarge, // it is over kMaxTextFileLength
        ZeroByte, // it holds a byte of value zero, as IMP.dat does and no text of ours does
    };
    Kind kind = Kind::None;
    std::string game; // gameFileOfLength's words, for GameFile
};

/// The one check of which existing files a text may replace, made on a
/// file's length and bytes, wherever the text would go: checkReplaceable
/// makes it for a named file, checkStandardOutput for the file standard
/// output writes into, each wording the refusal for its own target. The
/// length is tested first; `readBytes` is called only when the length
/// leaves the question open (a game file's length, one over the limit and
/// an empty file need no read), and its failure is given back as it is.
Result<NotOurText> checkOurText(std::uint64_t length, const std::function<Result<std::string>()>& readBytes);

/// The lines of a text, kept as the text's bytes and where each line starts:
/// about four bytes a line beside the text itself, so even a file of empty
/// lines takes a small multiple of its size. A line end at the very end of
/// the text does not start another line: "a\r\nb\r\n" and "a\r\nb" both give
/// {"a", "b"}; an empty text gives no lines.
class TextLines {
public:
    TextLines() = default;
    explicit TextLines(std::string bytes);
    /// Lines given one by one (each without its line end).
    TextLines(const std::vector<std::string>& lines);
    TextLines(std::initializer_list<std::string> lines) : TextLines(std::vector<std::string>(lines)) {}

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    /// Line i (i < size()) without its line end; valid while this object
    /// lives.
    std::string_view operator[](std::size_t i) const;
    /// The text as it was given.
    const std::string& bytes() const { return bytes_; }

    class const_iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        const_iterator(const TextLines* lines, std::size_t i) : lines_(lines), i_(i) {}
        std::string_view operator*() const { return (*lines_)[i_]; }
        const_iterator& operator++() { ++i_; return *this; }
        const_iterator operator++(int) { auto was = *this; ++i_; return was; }
        bool operator==(const const_iterator& other) const { return i_ == other.i_; }
    private:
        const TextLines* lines_ = nullptr;
        std::size_t i_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    std::string bytes_;
    std::vector<std::uint32_t> starts_;
};

/// Splits bytes into lines (see TextLines), each as its own string.
std::vector<std::string> splitLines(std::string_view bytes);

/// Joins lines, each followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

/// The whole text file at path. A file over kMaxTextFileLength is refused
/// before it is read: "<path> is N bytes long; no text file of ours is
/// larger than 4 MiB.", with the path carried in the failure (its reason
/// reads "The file is N bytes long; ...").
Result<std::string> readTextFile(FileSystem& files, const std::string& path);

/// The lines of the text file at path, with readTextFile's refusals.
Result<TextLines> readTextLines(FileSystem& files, const std::string& path);

/// Success when a text file of ours may be written to path: it is no file
/// (FileSystem::isFile), or checkOurText finds it may be one of ours.
/// Refused, naming the file and why: "PATH\rThis file is WHY; it is never
/// replaced by a text file.\rNothing was written.", where WHY is "is" and
/// the game file, "is N bytes long, and no text file of ours is larger than
/// 4 MiB", or "is not a text file (it holds bytes of value zero)". A path
/// that is no regular file is left for the writer to refuse. Windows call it
/// before they ask whether to replace a file; the writers below call it
/// again before they write.
Status checkReplaceable(FileSystem& files, const std::string& path);

/// Replaces (or creates) the text file at path with exactly these bytes,
/// atomically, after checkReplaceable; a refusal writes nothing.
Status writeTextFile(FileSystem& files, const std::string& path, std::string_view bytes);

/// Writes the lines (each ended by CR LF) as writeTextFile does.
Status writeTextLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines);

} // namespace platform
