#pragma once

// Brackel's commands, free of any window: start-up, Open, Save, Save as,
// Close, Clear all, Reset all and the box clicks. Every question, dialog and
// message goes through the platform layer; the window shows the state that
// the editor keeps and is told through EditorView what to redraw.

// standard
#include <optional>
#include <string>

// ours
#include "brackel/core/attachmentmodel.h"
#include "brackel/core/exetable.h"
#include "brackel/core/namesfile.h"
#include "brackel/core/rulefiles.h"
#include "platform/platform.h"

namespace brackel {

/// What the window redraws when the editor tells it to.
class EditorView {
public:
    virtual ~EditorView() = default;
    /// The current-file label, and the enabling of everything that needs an
    /// open file, have changed.
    virtual void fileStateChanged() = 0;
    /// A file has been loaded: rebuild the weapon list, select its first line
    /// and show its flags.
    virtual void modelLoaded() = 0;
    /// The flags or the count have changed: show the selected weapon's flags
    /// and the count.
    virtual void flagsChanged() = 0;
};

class Editor {
public:
    /// The platform must outlive the editor; the window sets itself as the
    /// view (setView) and may leave it null.
    explicit Editor(platform::Platform& platform);

    void setView(EditorView* view) { view_ = view; }

    /// Reads names.def from the working folder or, when that has none and
    /// the program was started with a file, from the folder of startFile.
    /// False (after the message) when neither exists or it cannot be read:
    /// the program then ends.
    bool readNames(const std::string& startFile = {});

    /// Open: the dialog, then openPath with the file chosen.
    void open();
    /// Opens an executable of a known build (by its length) or a .brk file
    /// and reports the outcome in a box; a failed open leaves the open file
    /// and its model as they were.
    void openPath(const std::string& path);
    void save();
    void saveAs();
    void close();
    void clearAll();
    void resetAll();
    /// A click on kind's box; returns the value the box must show.
    bool click(Kind kind, bool ticked);
    void selectWeapon(int position) { model_.selectWeapon(position); }

    const AttachmentModel& model() const { return model_; }
    const Names& names() const { return names_; }
    FileKind fileKind() const { return kind_; }
    bool fileOpen() const { return kind_ != FileKind::None; }
    const std::string& currentFile() const { return currentFile_; }
    /// "Current File: -None-", or the open file in lower case with its build
    /// tag or " [BRK-File]".
    const std::string& currentFileLabel() const { return label_; }

    /// The list line of a weapon position (0 to kWeaponCount - 1): "4: " and
    /// the weapon's name.
    std::string weaponLine(int position) const;

private:
    void error(const platform::Message& text);
    void success(const platform::Message& text);
    /// Writes the model to path as a .brk file; false after an error message.
    bool writeBrk(const std::string& path);
    /// Patches the table of the executable at path; false after a message
    /// or a cancelled question. On success *tag is the build's tag. A save
    /// onto the open executable keeps what another program changed in its
    /// table since it was read (applyRulesOver); the model then shows the
    /// table as saved, and *kept says how many of those changes were kept.
    bool writeExe(const std::string& path, std::string_view* tag, std::string* kept = nullptr);
    void setFile(const std::string& path, FileKind kind, std::string_view tag);

    platform::Platform& platform_;
    EditorView* view_ = nullptr;
    AttachmentModel model_;
    Names names_;
    FileKind kind_ = FileKind::None;
    std::string currentFile_;
    /// The open executable's rules as last read or written: the base of a
    /// save's merge. None for a .brk file.
    std::optional<Flags> base_;
    std::string label_;
};

} // namespace brackel
