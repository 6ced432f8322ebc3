#include "velloc/core/itemchanges.h"

// ours
#include "platform/ascii.h"
#include "velloc/core/itemcodec.h"

namespace velloc {

std::string fieldLabel(int item, Field field, FileType type)
{
    return "item " + std::to_string(item) + " " + fieldName(field, type);
}

std::vector<std::string> itemTextChanges(const ItemTexts& from, const ItemTexts& to)
{
    std::vector<std::string> lines;
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& layout : recordLayout(to.fileType)) {
            const std::string& before = textOf(from, layout.field, n);
            const std::string& after = textOf(to, layout.field, n);
            if (before != after)
                lines.push_back(fieldLabel(n, layout.field, to.fileType) + ": " + platform::quotedAscii(before) + " -> " +
                                platform::quotedAscii(after));
        }
    }
    return lines;
}

} // namespace velloc
