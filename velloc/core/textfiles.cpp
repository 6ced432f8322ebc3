#include "velloc/core/textfiles.h"

// ours
#include "platform/textlines.h"

namespace velloc {

platform::Result<TextFormRead> readTextFormFile(platform::FileSystem& files, const std::string& path,
                                                const ItemTexts& previous)
{
    // A file larger than any text file of ours is no text form; the window
    // says so as of any other file it cannot identify.
    auto length = files.length(path);
    if (!length)
        return length.status();
    if (auto why = platform::tooLargeForText(*length)) {
        TextFormRead tooLarge;
        tooLarge.error = std::move(*why);
        return tooLarge;
    }
    auto lines = platform::readTextLines(files, path);
    if (!lines)
        return lines.status();
    return parseTextForm(*lines, previous);
}

platform::Status textFormRefusal(const TextFormRead& read, const std::string& path)
{
    switch (read.outcome) {
    case TextFormRead::Outcome::Accepted:
        break;
    case TextFormRead::Outcome::Rejected:
        return platform::Status::failure({"This File is a previous version and cannot be used",
                                          "further ! Try applying it to a edt file with an older",
                                          "Velloc and rereading it with this version."},
                                         "The text form is of version \"" + read.version +
                                             "\"; only version 2.0 is read.",
                                         path);
    case TextFormRead::Outcome::NotIdentified:
        return platform::Status::failure("Error reading file - couldn't identify file typ",
                                         read.error.empty() ? "The file has no line \"mode=velloc-a\" or "
                                                              "\"mode=velloc-b\" of a Velloc text form."
                                                            : read.error,
                                         path);
    case TextFormRead::Outcome::Malformed:
        return platform::Status::failure({"Could not read " + path + ":", read.error, "Nothing was changed."},
                                         read.error, path);
    }
    return platform::Status::success();
}

platform::Result<ItemTexts> textFormOver(const platform::TextLines& lines, const ItemTexts& previous,
                                         const std::string& path)
{
    TextFormRead read = parseTextForm(lines, previous);
    if (read.outcome != TextFormRead::Outcome::Accepted)
        return textFormRefusal(read, path);
    return std::move(read.texts);
}

platform::Status writeTextForm(platform::FileSystem& files, const std::string& path, const ItemTexts& texts)
{
    return platform::writeTextLines(files, path, textFormLines(texts));
}

} // namespace velloc
