#pragma once

// The operations of the desktop that the programs' logic needs: message
// boxes, file dialogs, files, folders and the shell's "open". Program cores
// talk only to this interface; QtPlatform implements it for the desktop and
// ScriptedPlatform answers it from a script in tests.
//
// Texts here are UTF-8 (messages, titles, paths). A message is given as its
// lines (platform/message.h); a box joins them with its program's line break,
// "\r" (Brackel, Velloc) or "\r\n" (Kestrin), and the desktop shows either
// as a line break.

// standard
#include <optional>
#include <string>
#include <string_view>

// ours
#include "platform/filesystem.h"
#include "platform/message.h"
#include "platform/result.h"

namespace platform {

enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogOptions {
    std::string title;
    /// Description and pattern pairs joined by '|'; several patterns of one
    /// pair are joined by ';'. Example: "Text (*.txt)|*.txt|All files (*.*)|*.*".
    std::string filter;
    std::string initialName;
    /// Empty: the dialog's own choice (the working folder).
    std::string initialFolder;
    /// 1-based index of the filter selected when the dialog opens.
    int filterIndex = 1;
    /// Added to a typed name without extension (open dialog only); empty: none.
    std::string defaultExtension;
    /// Open dialog: the folder and the file must exist.
    bool mustExist = false;
};

struct FileChoice {
    std::string path;
    /// 1-based index of the filter selected when the dialog closed.
    int filterIndex = 1;
};

class Platform {
public:
    virtual ~Platform() = default;

    /// Modal message box; returns the button pressed. Closing a Yes/No box
    /// without a button counts as No, any other box as its last button.
    /// An empty title shows the program's name.
    virtual Answer message(const Message& message, std::string_view title, Buttons buttons) = 0;

    /// Modal dialogs; std::nullopt when the user cancels.
    virtual std::optional<FileChoice> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<FileChoice> saveFileDialog(const FileDialogOptions& options) = 0;

    virtual FileSystem& files() = 0;

    /// Folder of the program file, and the current working folder; both
    /// absolute and without a trailing separator (except a root).
    virtual std::string programFolder() = 0;
    virtual std::string workingFolder() = 0;
    /// The user's own configuration folder (~/.config on Linux, the local
    /// application data folder on Windows), absolute and without a trailing
    /// separator; empty when the system names none. Programs keep their
    /// files in a "varnhold" folder inside it.
    virtual std::string configFolder() = 0;

    /// The shell's "open" of a web address.
    virtual Status openUrl(const std::string& url) = 0;

    /// The name shown on boxes given no title.
    virtual std::string programName() const = 0;
    /// How this program's boxes join the lines of a message.
    virtual LineBreak lineBreak() const = 0;
};

} // namespace platform
