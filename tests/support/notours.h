#pragma once
// Files that no text file of ours may replace, for the tests of every save
// that writes one.

// standard
#include <string>
#include <vector>

// ours
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

namespace testsupport {

/// A file that is the game's, or no text of ours, with why the text-file
/// writer refuses to replace it ("This file <why>; ...").
struct NotOurs {
    const char* name;
    std::string bytes;
    const char* why;
};

inline std::vector<NotOurs> filesNeverReplaced()
{
    return {
        {"other.exe", patternBytes(3152896), "is the game executable [DE1.00]"},
        {"Itemdesc.edt", std::string(280800, 'i'), "is an item text file of the game"},
        // A profile: a name in 2-byte cells, then single bytes.
        {"IMP.dat", std::string("M\0a\0r\0a\0\0\0\x52\x01", 12) + std::string(700, 'p'),
         "is not a text file (it holds bytes of value zero)"},
        {"huge.txt", std::string(platform::kMaxTextFileLength + 1, 't'),
         "is 4194305 bytes long, and no text file of ours is larger than 4 MiB"},
    };
}

} // namespace testsupport
