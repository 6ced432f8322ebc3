// Writes the demo game folder: a game executable of the "[US1.03]" build
// whose attachment table holds a plausible set of entries, the two item text
// files, names.def and a custom mercenary's IMP.dat, through the editors'
// own writers where they have one.
//
// Usage: demogen FOLDER

// standard
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

// ours
#include "brackel/core/exetable.h"
#include "kestrin/core/profilerecord.h"
#include "demo/demoitems.h"
#include "platform/nativefilesystem.h"
#include "platform/paths.h"
#include "platform/textlines.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/textform.h"

namespace {

using brackel::Kind;

// Which weapons (game items) accept which attachment in the demo.
brackel::Flags demoFlags()
{
    brackel::Flags flags;
    auto allow = [&flags](Kind kind, std::initializer_list<int> items) {
        for (int item : items)
            flags.set(kind, item - 1, true);
    };
    allow(Kind::Silencer, {1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22, 23, 24, 25, 26, 56});
    allow(Kind::SniperScope, {12, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 34, 35, 36, 56});
    allow(Kind::LaserScope, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                             23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 55, 56, 61, 65});
    allow(Kind::Bipod, {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 34, 35, 36});
    allow(Kind::Duckbill, {31, 32});
    allow(Kind::Talon, {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30});
    allow(Kind::RodAndSpring, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                               23, 24, 25, 26, 27, 28, 29, 30, 34, 35, 36, 56});
    allow(Kind::Extender, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27,
                           28, 29, 31, 32, 34, 35, 36, 56});
    return flags;
}

void put16(std::string& bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

std::string demoExecutable()
{
    const brackel::ExeVersion& version = *brackel::detectversion(2812928);
    std::string bytes(version.length, '\0');
    // Deterministic non-zero filler, with the two letters every executable starts with.
    std::uint32_t state = 0x5EED1234u;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<char>((state >> 24) | 1);
    }
    bytes[0] = 'M';
    bytes[1] = 'Z';

    auto table = brackel::encodeTable(demoFlags());
    if (!table) {
        std::fprintf(stderr, "demogen: %s\n", table.error().c_str());
        std::exit(1);
    }
    std::copy(table->begin(), table->end(), bytes.begin() + version.tableOffset);

    // The game's other attachment entries follow the table: detonators on
    // the explosives, ceramic plates on the vests, then the all-zero entry
    // that ends the game's lookup.
    std::size_t at = version.tableOffset + brackel::kTableBytes;
    auto entry = [&](int attachment, int item) {
        put16(bytes, at, attachment);
        put16(bytes, at + 2, item);
        at += 4;
    };
    for (int explosive : {48, 49, 136, 137, 138})
        entry(248, explosive); // detonator
    for (int explosive : {48, 49, 136, 137, 138})
        entry(249, explosive); // remote detonator
    for (int vest : {161, 162, 163, 164, 165, 166, 167, 168, 169, 197, 198, 199})
        entry(183, vest);      // ceramic plates
    entry(0, 0);
    return bytes;
}

// The texts of both item text files, in the description editor's model.
velloc::ItemTexts demoTexts(velloc::FileType type)
{
    std::string name[351], lname[351], desc[351];
    demo::demoTexts(name, lname, desc);
    velloc::ItemTexts texts;
    texts.fileType = type;
    for (int n = 0; n < velloc::kItemCount; ++n) {
        if (type == velloc::FileType::Items) {
            texts.shortNames[n] = name[n];
            texts.fullNames[n] = lname[n];
            texts.descriptions[n] = desc[n];
        } else {
            // The shop shows the full name and a longer blurb.
            texts.shortNames[n] = lname[n];
            texts.descriptions[n] = desc[n].empty() ? desc[n] : desc[n] + " Shipped within two days, discreetly.";
        }
    }
    return texts;
}

// An item text file of the type, with the texts written by our codec.
platform::Status writeItemFile(platform::FileSystem& files, const std::string& path, velloc::FileType type)
{
    std::string bytes(velloc::kItemFileLength, '\0');
    velloc::encodeItemFile(demoTexts(type), std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
    return files.replaceAtomically(path, bytes);
}

// IMP.dat with a plausible custom mercenary; the bytes Kestrin never
// touches hold non-zero filler, as a real profile holds other data.
std::string demoProfile()
{
    using kestrin::Attribute;
    namespace record = kestrin::record;
    std::string bytes(700, '\0');
    std::uint32_t state = 0x1A2B3C4Du;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<char>((state >> 24) | 0x80);
    }
    auto put = [&bytes](int offset, int value) { bytes[offset] = static_cast<char>(value); };
    auto cells = [&](int offset, int count, std::string_view text) {
        for (int i = 0; i < count; ++i)
            put(offset + 2 * i, i < int(text.size()) ? text[i] : 0);
    };
    auto narrow = [&](kestrin::Palette palette, std::string_view name) {
        const int offset = record::kPaletteFields[int(palette)].offset;
        for (std::size_t i = 0; i < name.size(); ++i)
            put(offset + int(i), name[i]);
        for (int i = 0; i < 3; ++i)
            put(offset + int(name.size()) + i, 0);
    };
    put(record::kVoice, 54);
    put(record::kPortrait, 9);
    cells(record::kName, record::kNameCells, "Mara Voss");
    cells(record::kCallsign, record::kCallsignCells, "Raven");
    narrow(kestrin::Palette::Pants, "JEANPANTS");
    narrow(kestrin::Palette::Vest, "GREENVEST");
    narrow(kestrin::Palette::Skin, "TANSKIN");
    narrow(kestrin::Palette::Hair, "BLACKHEAD");
    put(record::kBodyType, 3);
    const std::pair<Attribute, int> attributes[] = {
        {Attribute::Health, 82},     {Attribute::Dexterity, 78}, {Attribute::Agility, 85},
        {Attribute::Strength, 64},   {Attribute::Wisdom, 88},    {Attribute::Leadership, 55},
        {Attribute::Marksmanship, 91}, {Attribute::Explosives, 20}, {Attribute::Medical, 35},
        {Attribute::Mechanic, 40},   {Attribute::Experience, 3},
    };
    for (const auto& [attribute, value] : attributes)
        put(record::kAttributeOffsets[int(attribute)], value);
    put(record::kHealthCopy, 82);
    put(record::kPersonality, 0);
    put(record::kTrait1, 4);  // Nightops
    put(record::kTrait2, 12); // Martial Arts
    put(record::kAttitude, 1); // Friendly
    const std::pair<kestrin::Hidden, int> kit[] = {
        {kestrin::Hidden::Vest, 164},   {kestrin::Hidden::Ceramic, 183}, {kestrin::Hidden::Weapon, 20},
        {kestrin::Hidden::Modification1, 208}, {kestrin::Hidden::Modification2, 209},
        {kestrin::Hidden::Helmet, 177},
    };
    for (const auto& [slot, item] : kit)
        put(record::kInventoryOffsets[int(slot)], item);
    for (int offset : record::kAmmo)
        put(offset, 94); // 5.56mm for the Steyr AUG
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demogen FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    platform::NativeFileSystem files;
    platform::Status written = files.replaceAtomically(platform::joinPath(folder, "vrn.exe"), demoExecutable());
    if (written)
        written = writeItemFile(files, platform::joinPath(folder, "Itemdesc.edt"), velloc::FileType::Items);
    if (written)
        written = writeItemFile(files, platform::joinPath(folder, "Braydesc.edt"), velloc::FileType::BobbyRay);
    if (written)
        written = files.replaceAtomically(platform::joinPath(folder, "IMP.dat"), demoProfile());
    if (written)
        written = platform::writeTextLines(files, platform::joinPath(folder, "names.def"),
                                           velloc::textFormLines(demoTexts(velloc::FileType::Items)));
    if (!written) {
        std::fprintf(stderr, "demogen: %s\n", written.error().c_str());
        return 1;
    }
    return 0;
}
