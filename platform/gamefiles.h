#pragma once

// The game's own files as every program recognises them: by their exact
// length, for none carries a mark. The programs patch these files in place
// and never replace one; the text-file writer refuses to (textlines.h).

// standard
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

/// One known build of the game executable vrn.exe.
struct GameBuild {
    std::uint64_t length;      // exact file length in bytes
    std::string_view tag;      // shown after the file name, "[US1.03]"
    std::uint32_t tableOffset; // byte offset of the attachment table's first entry
};

inline constexpr std::array<GameBuild, 11> kGameBuilds = {{
    {2439168, "[RU1.02]", 0x203420},
    {2703360, "[NL]", 0x21BD24},
    {2715679, "[FR]", 0x21DCCC},
    {2719775, "[DE1.05]", 0x21DF5C},
    {2812928, "[US1.03]", 0x235118},
    {2817536, "[US1.04]", 0x236120},
    {2827776, "[US1.06]", 0x2383A8},
    {2919936, "[DE1.02]", 0x22DEC8},
    {2924544, "[DE1.02Beta]", 0x22EE28},
    {2960896, "[DE1.01]", 0x237458},
    {3152896, "[DE1.00]", 0x25CC18},
}};

/// The build of an executable of this length, or null for none.
constexpr const GameBuild* gameBuildOfLength(std::uint64_t length)
{
    for (const GameBuild& build : kGameBuilds)
        if (build.length == length)
            return &build;
    return nullptr;
}

/// Length of an item text file (Itemdesc.edt, Braydesc.edt): 351 records of
/// 800 bytes.
inline constexpr std::uint64_t kItemFileLength = 280800;

/// What a game file of this length is, for a message ("the game executable
/// [US1.03]", "an item text file of the game"); empty for a length that no
/// game file of ours has. The profile file IMP.dat has no fixed length.
inline std::string gameFileOfLength(std::uint64_t length)
{
    if (const GameBuild* build = gameBuildOfLength(length))
        return "the game executable " + std::string(build->tag);
    if (length == kItemFileLength)
        return "an item text file of the game";
    return {};
}

/// The length of the custom mercenary's record at the start of IMP.dat: a
/// profile is at least this long.
inline constexpr std::uint64_t kProfileRecordLength = 578;

/// Why a file whose first bytes are `record` (its first kProfileRecordLength
/// bytes, or all of a shorter file) is no custom mercenary profile, or
/// empty when it may be one. Beside the lengths above, this is the one rule
/// of what may be taken as a profile: a text of ours (no zero byte, the test
/// the text writer makes) is none, nor is a Windows program (an "MZ" header
/// whose PE offset points at "PE\0\0"), whatever its length.
inline std::string notAProfile(std::string_view record)
{
    if (record.find('\0') == std::string_view::npos)
        return "a text file";
    if (record.size() >= 0x40 && record.substr(0, 2) == "MZ") {
        std::uint32_t pe = 0;
        for (int i = 3; i >= 0; --i)
            pe = (pe << 8) | static_cast<unsigned char>(record[0x3C + i]);
        if (pe <= record.size() - 4 && record.substr(pe, 4) == std::string_view("PE\0\0", 4))
            return "a Windows program";
    }
    return {};
}

} // namespace platform
