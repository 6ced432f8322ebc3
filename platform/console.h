#pragma once
// Standard input and output of a console program, as bytes; which file a
// path or standard output leads to, so that a program never writes its
// output into its input or into a game file through a redirection.

// standard
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// ours
#include "platform/result.h"

namespace platform {

/// Puts standard output and standard error into binary mode, so that the
/// CR LF lines of our files pass through unchanged (a Windows console
/// program would otherwise write a CR before every LF).
void useBinaryStandardStreams();

/// Writes the bytes to standard output and flushes it; false when that fails
/// (a closed pipe, a full disk).
bool writeStandardOutput(std::string_view bytes);

/// Which file a name or an open handle leads to, as the system tells files
/// apart: device and inode on POSIX, volume serial number and file index on
/// Windows. Every name of one file (a hard link, a symbolic link, another
/// spelling of the path) has the same identity.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The identity of the existing file or folder at path; nothing when there
/// is none or the system cannot tell.
std::optional<FileIdentity> fileIdentity(const std::string& path);

/// Whether both paths lead to one existing file.
bool sameFile(const std::string& a, const std::string& b);

/// Standard output when it writes into a regular file on disk (a shell's
/// "> file" or ">> file"): the file's identity and its length now.
struct OutputFile {
    FileIdentity identity;
    std::uint64_t length = 0;
};
/// Nothing for a terminal, a pipe, a device, or no standard output at all.
std::optional<OutputFile> standardOutputFile();

/// Up to `most` bytes from the start of the file standard output writes
/// into, read through a handle of its own: the redirection may have opened
/// it for writing alone. A failure's message is the system's reason alone
/// ("Permission denied").
Result<std::string> readStandardOutputFile(std::uint64_t most);

/// Success when our text may go to standard output. When that is a regular
/// file, it is refused when it is the input file itself (`input`, when not
/// empty), or when the text writer's own check (checkOurText) finds it no
/// text file of ours, as it would refuse a named output. The failure's path
/// is "-"; its message names standard output.
Status checkStandardOutput(const std::string& input);

} // namespace platform
