#include "velloc/textfiles.h"

// ours
#include "platform/textlines.h"

namespace velloc {

platform::Result<TextFormRead> readTextFormFile(platform::FileSystem& files, const std::string& path,
                                                const ItemTexts& previous)
{
    auto lines = platform::readTextLines(files, path);
    if (!lines)
        return lines.status();
    return parseTextForm(*lines, previous);
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

platform::Status writeTextForm(platform::FileSystem& files, const std::string& path, const ItemTexts& texts)
{
    return platform::writeTextLines(files, path, textFormLines(texts));
}

} // namespace velloc
