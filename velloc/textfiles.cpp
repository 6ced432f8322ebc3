#include "velloc/textfiles.h"

// ours
#include "platform/textlines.h"

namespace velloc {

platform::Result<std::optional<std::vector<std::string>>> readTextFormLines(platform::FileSystem& files,
                                                                            const std::string& path)
{
    auto length = files.length(path);
    if (!length)
        return length.status();
    if (*length > kMaxTextFormLength)
        return std::optional<std::vector<std::string>>();
    auto lines = platform::readTextLines(files, path);
    if (!lines)
        return lines.status();
    return std::optional(std::move(*lines));
}

platform::Result<TextFormRead> readTextFormFile(platform::FileSystem& files, const std::string& path,
                                                const ItemTexts& previous)
{
    auto lines = readTextFormLines(files, path);
    if (!lines)
        return lines.status();
    return *lines ? parseTextForm(**lines, previous) : TextFormRead{};
}

std::string textFormRefusal(const TextFormRead& read, const std::string& path)
{
    switch (read.outcome) {
    case TextFormRead::Outcome::Accepted:
        break;
    case TextFormRead::Outcome::Rejected:
        return "This File is a previous version and cannot be used\r"
               "further ! Try applying it to a edt file with an older\r"
               "Velloc and rereading it with this version.";
    case TextFormRead::Outcome::NotIdentified:
        return "Error reading file - couldn't identify file typ";
    case TextFormRead::Outcome::Malformed:
        return "Could not read " + path + ":\r" + read.error + "\rNothing was changed.";
    }
    return {};
}

platform::Status refuseReplacingItemFile(platform::FileSystem& files, const std::string& path)
{
    if (!files.exists(path))
        return platform::Status::success();
    auto length = files.length(path);
    if (length && *length == kItemFileLength)
        return platform::Status::failure(
            path + "\rThis file is an item text file of the game.\rIt cannot be replaced by a text "
                   "form. Choose EDT-File to write the texts into it,\ror give the text form another name.");
    return platform::Status::success();
}

platform::Status writeTextForm(platform::FileSystem& files, const std::string& path, const ItemTexts& texts)
{
    return platform::writeTextLines(files, path, textFormLines(texts));
}

} // namespace velloc
