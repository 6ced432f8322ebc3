#include "platform/textlines.h"

namespace platform {

std::vector<std::string> splitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(bytes.substr(start, i - start));
        // CR LF is one line end; a lone CR or a lone LF is one too.
        i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    // Text after the last line end is a last line without an end.
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
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

Result<std::vector<std::string>> readTextLines(FileSystem& files, const std::string& path)
{
    auto bytes = files.readAll(path);
    if (!bytes)
        return bytes.status();
    return splitLines(*bytes);
}

Status writeTextLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines)
{
    return files.replaceAtomically(path, joinLines(lines));
}

} // namespace platform
