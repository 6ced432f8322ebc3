#include "platform/process.h"

// standard
#include <cerrno>

// POSIX
#include <unistd.h>

// Qt
#include <QCoreApplication>
#include <QFile>

// ours
#include "platform/paths.h"

namespace platform {

std::vector<std::string> programArguments(int argc, char** argv)
{
    // argv holds the bytes the program was started with.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i] ? argv[i] : "");
    return arguments;
}

std::string currentFolder()
{
    std::string folder(256, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE)
            return "."; // removed or unreadable: relative paths still resolve against it
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

std::string programFolder()
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            break;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return folderOf(target);
        }
        target.resize(target.size() * 2);
    }
    // Without /proc Qt can tell, from argv[0], once the application exists.
    if (QCoreApplication::instance())
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    return {};
}

std::string absolutePath(std::string_view folder, std::string_view path)
{
    if (!path.empty() && path.front() == '/')
        return std::string(path);
    return joinPath(folder, path);
}

} // namespace platform
