// Item text files: any bytes, cut or padded to the file's length, decode as
// both types into texts that fit their fields; texts without encoding
// problems encode and decode to the same texts.

// standard
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// ours
#include "velloc/itemcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> file(velloc::kItemFileLength, 0);
    std::copy_n(data, std::min<std::size_t>(size, file.size()), file.begin());

    for (velloc::FileType type : {velloc::FileType::Items, velloc::FileType::BobbyRay}) {
        velloc::ItemTexts texts;
        velloc::decodeItemFile(file, type, texts);
        if (texts.fileType != type)
            __builtin_trap();
        for (const velloc::FieldLayout& layout : velloc::recordLayout(type)) {
            const auto& field = layout.field == velloc::Field::ShortName ? texts.shortNames
                : layout.field == velloc::Field::FullName                ? texts.fullNames
                                                                         : texts.descriptions;
            for (const std::string& text : field)
                if (text.size() > std::size_t(layout.units))
                    __builtin_trap();
        }
        if (!velloc::encodingProblems(texts).empty())
            continue;
        std::vector<std::uint8_t> copy = file;
        velloc::encodeItemFile(texts, copy);
        velloc::ItemTexts again;
        again.fullNames = texts.fullNames; // a Bobby Ray file keeps the full names it was given
        velloc::decodeItemFile(copy, type, again);
        if (!(again == texts))
            __builtin_trap();
    }
    return 0;
}
