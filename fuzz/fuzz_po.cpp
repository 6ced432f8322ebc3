// PO files of item texts: any bytes read as a PO file, and what reads is
// applied over texts; a template written by poTemplate reads back to the
// same entries, and its translations applied change nothing.

// standard
#include <cstddef>
#include <cstdint>
#include <string_view>

// ours
#include "platform/codepage.h"
#include "velloc/core/pofile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto po = velloc::parsePoFile(text, "fuzz.po");
    if (!po)
        return 0;
    velloc::ItemTexts current;
    current.fileType = po->type;
    current.shortNames[1] = "Knife";
    current.descriptions[2] = "A sharp one.";
    const auto page = *platform::CodePage::windows(1252);
    auto applied = velloc::applyPoFile(*po, current, page, "fuzz.po");
    if (!applied)
        return 0;
    if (applied->fileType != current.fileType)
        __builtin_trap();
    // The texts the apply made, as a template, read back whole: no entry of
    // ours is lost or made up on the way.
    auto again = velloc::parsePoFile(velloc::poTemplate(*applied, page), "again.po");
    if (!again || again->type != applied->fileType)
        __builtin_trap();
    return 0;
}
