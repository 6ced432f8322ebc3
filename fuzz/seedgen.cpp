// Writes the seed corpora of the fuzz targets from the demo game folder
// (made by demogen) and demo/Presets.ini, through our own readers and
// writers.
//
// Usage: seedgen DEMO_FOLDER PRESETS_INI OUT_FOLDER
// Makes OUT_FOLDER/<target>/<seed> for each target.

// standard
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/exetable.h"
#include "platform/codepage.h"
#include "platform/journal.h"
#include "platform/textlines.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/pofile.h"
#include "velloc/core/textform.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "seedgen: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeSeed(const std::filesystem::path& out, const std::string& target, const std::string& name,
               std::string_view bytes)
{
    std::filesystem::create_directories(out / target);
    std::ofstream file(out / target / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
}

// The header and the first `items` records of a text form: a seed that
// fits the targets' input length.
std::vector<std::string> firstItems(const std::vector<std::string>& lines, int items)
{
    std::vector<std::string> out;
    int seen = 0;
    for (const std::string& line : lines) {
        if (!line.empty() && line.front() == '[' && line != "[head]" && ++seen > items)
            break;
        out.push_back(line);
    }
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

// An input of fuzz_itemcodec: the record, the change to its texts (0 to 3)
// and the file type in two bytes, then up to kSeedRecords records of the
// file from that record on.
std::string recordsSeed(const std::string& file, velloc::FileType type, int record, unsigned change)
{
    constexpr std::size_t kSeedRecords = 2;
    const unsigned selector =
        unsigned(record) | change << 13 | (type == velloc::FileType::BobbyRay ? 0x8000u : 0u);
    std::string seed = {char(selector & 0xFF), char(selector >> 8)};
    const std::size_t at = std::size_t(record) * velloc::kRecordBytes;
    return seed + file.substr(at, kSeedRecords * velloc::kRecordBytes);
}

// Journals of the 64-byte file fuzz_journal puts beside them (byte i is
// i * 37 + 11), whole and without their hash, which fuzz_journal also tries
// with the hash added.
void writeJournalSeeds(const std::filesystem::path& out)
{
    std::string file(64, '\0');
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<char>(i * 37 + 11);
    auto bytes = [](std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    const std::vector<std::pair<std::string, std::vector<platform::PatchJournal::Change>>> journals = {
        // Killed once the file held every new byte: rolled back.
        {"unfinished",
         {{20, bytes("OLDBYTES"), bytes(file.substr(20, 8))}, {40, bytes("ab"), bytes(file.substr(40, 2))}}},
        // Made, but killed before the file changed: dropped.
        {"never-reached", {{24, bytes(file.substr(24, 8)), bytes("NEWBYTES")}}},
        // Planted outside the owned run: refused.
        {"outside", {{0, bytes("PLANTED!"), bytes(file.substr(0, 8))}}},
    };
    for (const auto& [name, changes] : journals) {
        const std::string journal = platform::PatchJournal::encode(file.size(), changes);
        writeSeed(out, "journal", name, journal);
        writeSeed(out, "journal", name + "-body", journal.substr(0, journal.size() - 32));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: seedgen DEMO_FOLDER PRESETS_INI OUT_FOLDER\n");
        return 2;
    }
    const std::string demo = argv[1];
    const std::filesystem::path out = argv[3];

    // The attachment table of the demo executable, and the .brk of its model.
    const std::string exe = readFile(demo + "/vrn.exe");
    const brackel::ExeVersion* version = brackel::detectversion(exe.size());
    if (!version) {
        std::fprintf(stderr, "seedgen: vrn.exe is of no known build\n");
        return 1;
    }
    const std::string table = exe.substr(version->tableOffset, brackel::kTableBytes);
    writeSeed(out, "exetable", "demo-table", table);
    brackel::TableBytes bytes{};
    std::copy(table.begin(), table.end(), bytes.begin());
    const brackel::TableContents contents = brackel::decodeTable(bytes);
    writeSeed(out, "brk", "demo.brk", platform::joinLines(brackel::brkLines(contents.flags, contents.remaining)));
    writeSeed(out, "brk", "empty.brk",
              platform::joinLines(brackel::brkLines(brackel::Flags{}, brackel::kTableEntries)));

    const std::string names = readFile(demo + "/names.def");
    writeSeed(out, "names", "names.def", names);
    writeSeed(out, "codepage", "names-start", names.substr(0, 512));

    // Item texts: records of the files, and their text forms.
    const std::string itemdesc = readFile(demo + "/Itemdesc.edt");
    const std::string braydesc = readFile(demo + "/Braydesc.edt");
    int n = 0;
    for (const auto& [file, type] : {std::pair{&itemdesc, velloc::FileType::Items},
                                     std::pair{&braydesc, velloc::FileType::BobbyRay}}) {
        velloc::ItemTexts texts;
        velloc::decodeItemFile(std::span(reinterpret_cast<const std::uint8_t*>(file->data()), file->size()), type,
                               texts);
        // The first, a middle and the last records, with the records after
        // them, under each change.
        const std::string name = type == velloc::FileType::Items ? "Itemdesc-" : "Braydesc-";
        for (int record : {0, velloc::kItemCount / 2, velloc::kItemCount - 1})
            for (unsigned change = 0; change < 4; ++change)
                writeSeed(out, "itemcodec", name + std::to_string(record) + "-" + std::to_string(change),
                          recordsSeed(*file, type, record, change));
        const auto lines = velloc::textFormLines(texts);
        writeSeed(out, "textform", "full-" + std::to_string(n), platform::joinLines(lines));
        writeSeed(out, "textform", "first-" + std::to_string(n), platform::joinLines(firstItems(lines, 12)));
        ++n;
    }
    // The PO template of each file's first items.
    for (const auto& [file, type] : {std::pair{&itemdesc, velloc::FileType::Items},
                                     std::pair{&braydesc, velloc::FileType::BobbyRay}}) {
        velloc::ItemTexts texts;
        velloc::decodeItemFile(std::span(reinterpret_cast<const std::uint8_t*>(file->data()), file->size()), type,
                               texts);
        const std::string po = velloc::poTemplate(texts, *platform::CodePage::windows(1252));
        // The header and the entries of the first items, cut at an entry.
        const std::size_t cut = po.find("\n\n", 3000);
        writeSeed(out, "po", type == velloc::FileType::Items ? "Itemdesc.po" : "Braydesc.po",
                  po.substr(0, cut == std::string::npos ? po.size() : cut + 1));
    }
    // A text with line breaks, written with the continuation lines.
    velloc::ItemTexts broken;
    broken.shortNames[1] = "Two\r\nlines";
    broken.descriptions[2] = "One\r\ntwo\r\nthree";
    writeSeed(out, "textform", "breaks", platform::joinLines(firstItems(velloc::textFormLines(broken), 4)));

    writeSeed(out, "profile", "IMP.dat", readFile(demo + "/IMP.dat"));
    writeSeed(out, "presets", "Presets.ini", readFile(argv[2]));
    writeJournalSeeds(out);
    return 0;
}
