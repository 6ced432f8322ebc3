#pragma once

// Paths as the programs spell them: a folder and a name joined, and a path
// split into the folder that holds it and its name. Where '/' is the
// system's separator a path is the system's bytes, which need not be UTF-8;
// elsewhere (Windows) it is UTF-8 text.
//
// What a separator and a root are differs by system, and lives in
// posixpaths.cpp and win32paths.cpp: on POSIX only '/' separates, and a
// path that begins with '/' has the root "/". On Windows '\' and '/' both
// separate; a root is "\" (or "/"), or a drive's "C:\" (or "C:/"); "C:"
// alone is a drive, and "C:vrn.exe" a name in that drive's current folder.

// standard
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

/// The separator this system writes between a folder and a name: '/' on
/// POSIX, '\' on Windows.
extern const char kPathSeparator;

/// Whether the character separates folders in a path on this system.
bool isPathSeparator(char c);

/// How many characters at the start of the path are its root ("/", "C:\",
/// or a drive "C:"), which no split of the path ever cuts; 0 for a relative
/// path.
std::size_t pathRootLength(std::string_view path);

/// A path cut before its name: head + name is the path again.
struct PathParts {
    /// Everything up to and including the last separator, or the root when
    /// the name follows it directly ("C:" of "C:vrn.exe"); "" for a bare
    /// name.
    std::string head;
    /// What follows the head; "" when the path ends in a separator or is a
    /// root.
    std::string name;
};

/// The head and the name of a path: "/games/vrn.exe" gives "/games/" and
/// "vrn.exe", "/vrn.exe" gives "/" and "vrn.exe", "vrn.exe" gives "" and
/// "vrn.exe", "/games/" gives "/games/" and "".
PathParts splitPath(std::string_view path);

/// The folder that holds a path, as a path of its own: its head without the
/// last separator ("/games/vrn/vrn.exe" gives "/games/vrn"). A root keeps its
/// separator ("/vrn.exe" gives "/", "C:\vrn.exe" gives "C:\"), a drive stays
/// a drive ("C:vrn.exe" gives "C:"), and a bare name gives "".
std::string folderOf(std::string_view path);

/// The name a path ends in: splitPath(path).name.
std::string nameOf(std::string_view path);

/// The path of a file in a folder, with the system's separator; none is
/// added after a folder that ends in a separator (a root).
std::string joinPath(std::string_view folder, std::string_view name);

/// The folder to join a file name to for a working folder: a drive root such
/// as "C:\\" gives its first 2 characters ("C:"), so that joining the name
/// never doubles the separator, whichever separator the root has; any other
/// path comes back unchanged (a Linux root "/" too, which joinPath joins
/// without doubling).
std::string checkifroot(std::string_view path);

} // namespace platform
