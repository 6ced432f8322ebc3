#include "platform/textlines.h"

// standard
#include <cassert>

// ours
#include "platform/gamefiles.h"

namespace platform {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

/// Calls f(start, length) for each line of the text. CR LF is one line
/// end; a lone CR and a lone LF are one each. Text after the last line end
/// is a last line without an end.
template <class F>
void forEachLine(std::string_view bytes, F&& f)
{
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (!isLineEnd(c)) {
            ++i;
            continue;
        }
        f(start, i - start);
        i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < bytes.size())
        f(start, bytes.size() - start);
}

Status notOurs(const std::string& path, const std::string& why)
{
    const std::string sentence = "This file " + why + "; it is never replaced by a text file.";
    return Status::failure({path, sentence, Status::kNothingWritten}, sentence + " " + Status::kNothingWritten, path);
}

} // namespace

TextLines::TextLines(std::string bytes) : bytes_(std::move(bytes))
{
    // Counted first, so the index takes exactly what it needs.
    std::size_t count = 0;
    forEachLine(bytes_, [&](std::size_t, std::size_t) { ++count; });
    starts_.reserve(count);
    forEachLine(bytes_, [&](std::size_t start, std::size_t) { starts_.push_back(static_cast<std::uint32_t>(start)); });
}

TextLines::TextLines(const std::vector<std::string>& lines) : TextLines(joinLines(lines))
{
}

std::string_view TextLines::operator[](std::size_t i) const
{
    assert(i < starts_.size());
    const std::size_t start = starts_[i];
    std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : bytes_.size();
    // Take off the line end: CR LF, or one CR or LF. A line's own bytes never
    // end in CR when LF follows, for CR LF always ends a line.
    if (end > start && isLineEnd(bytes_[end - 1])) {
        --end;
        if (end > start && bytes_[end] == '\n' && bytes_[end - 1] == '\r')
            --end;
    }
    return std::string_view(bytes_).substr(start, end - start);
}

std::vector<std::string> splitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    forEachLine(bytes, [&](std::size_t start, std::size_t length) { lines.emplace_back(bytes.substr(start, length)); });
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> tooLargeForText(std::uint64_t length)
{
    if (length <= kMaxTextFileLength)
        return std::nullopt;
    return "The file is " + std::to_string(length) + " bytes long; " + std::string(kTextFileLimit) + ".";
}

Result<NotOurText> checkOurText(std::uint64_t length, const std::function<Result<std::string>()>& readBytes)
{
    if (std::string game = gameFileOfLength(length); !game.empty())
        return NotOurText{NotOurText::Kind::GameFile, std::move(game)};
    if (tooLargeForText(length))
        return NotOurText{NotOurText::Kind::TooLarge, {}};
    if (length == 0)
        return NotOurText{};
    // Other game files (IMP.dat) carry no mark, but every one holds zero
    // bytes, which no text file of ours does.
    auto bytes = readBytes();
    if (!bytes)
        return bytes.status();
    if (bytes->find('\0') != std::string::npos)
        return NotOurText{NotOurText::Kind::ZeroByte, {}};
    return NotOurText{};
}

Result<std::string> readTextFile(FileSystem& files, const std::string& path)
{
    auto length = files.length(path);
    if (!length)
        return length.status();
    auto tooLarge = [&](const std::string& why) {
        return Status::failure(path + why.substr(8), why, path); // "<path> is N bytes long; ..."
    };
    if (auto why = tooLargeForText(*length))
        return tooLarge(*why);
    auto bytes = files.readAll(path);
    if (!bytes)
        return bytes;
    if (auto why = tooLargeForText(bytes->size())) // it grew while we looked
        return tooLarge(*why);
    return bytes;
}

Result<TextLines> readTextLines(FileSystem& files, const std::string& path)
{
    auto bytes = readTextFile(files, path);
    if (!bytes)
        return bytes.status();
    return TextLines(std::move(*bytes));
}

Status checkReplaceable(FileSystem& files, const std::string& path)
{
    if (!files.isFile(path))
        return Status::success(); // nothing there, or no file to replace (the writer says so)
    auto length = files.length(path);
    if (!length)
        return length.status();
    auto found = checkOurText(*length, [&] { return files.readAll(path); });
    if (!found)
        return found.status();
    switch (found->kind) {
    case NotOurText::Kind::None:
        break;
    case NotOurText::Kind::GameFile:
        return notOurs(path, "is " + found->game);
    case NotOurText::Kind::TooLarge:
        return notOurs(path, "is " + std::to_string(*length) + " bytes long, and " + std::string(kTextFileLimit));
    case NotOurText::Kind::ZeroByte:
        return notOurs(path, "is not a text file (it holds bytes of value zero)");
    }
    return Status::success();
}

Status writeTextFile(FileSystem& files, const std::string& path, std::string_view bytes)
{
    if (auto refused = checkReplaceable(files, path); !refused)
        return refused;
    return files.replaceAtomically(path, bytes);
}

Status writeTextLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines)
{
    return writeTextFile(files, path, joinLines(lines));
}

} // namespace platform
