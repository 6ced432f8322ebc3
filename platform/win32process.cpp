#include "platform/process.h"

// Qt
#include <QCoreApplication>
#include <QDir>

// ours
#include "platform/paths.h"
#include "platform/win32paths.h"

namespace platform {

std::vector<std::string> programArguments(int, char**)
{
    // argv is in the ANSI code page, which cannot hold every name; Qt reads
    // the wide command line and takes its own options out.
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all.at(i).toStdString());
    return arguments;
}

std::string currentFolder()
{
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    const DWORD written = length ? GetCurrentDirectoryW(length, folder.data()) : 0;
    if (written == 0 || written >= length)
        return ".";
    return win32::utf8(folder.data(), written);
}

std::string programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return folderOf(win32::utf8(path.data(), length));
        path.resize(path.size() * 2);
    }
}

std::string absolutePath(std::string_view folder, std::string_view path)
{
    // Drive letters, UNC names and rooted paths are Qt's to tell apart; it
    // leaves "." and ".." in place.
    const QString absolute = QDir(QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size())))
                                 .absoluteFilePath(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    return QDir::toNativeSeparators(absolute).toStdString();
}

} // namespace platform
