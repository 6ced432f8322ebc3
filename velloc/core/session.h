#pragma once

// Velloc's file commands, free of any window: Open, Save, Save As and
// closing the file, with every question and message through the platform
// layer, the progress window through SessionView, and the names.def export.

// standard
#include <optional>
#include <string>

// ours
#include "platform/platform.h"
#include "velloc/core/itemtexts.h"

namespace velloc {

enum class FileForm { None, Binary, TextForm };

/// What the window shows when the session tells it to.
class SessionView {
public:
    virtual ~SessionView() = default;
    /// Shows the progress window with this text and disables the main window.
    virtual void showProgress(const char* text) = 0;
    /// Closes the progress window and gives the main window back its focus.
    virtual void hideProgress() = 0;
    /// A file has been read into the model: adapt to its type, rebuild the
    /// list, enable the controls and show the current item.
    virtual void fileLoaded() = 0;
    /// The current-file label changed (after Save As).
    virtual void fileLabelChanged() = 0;
    /// The file was closed: clear and disable the list and the boxes.
    virtual void fileClosed() = 0;
};

class Session {
public:
    /// Takes the folder of names.def from the working folder now, before any
    /// dialog can change it. The platform must outlive the session; the window
    /// sets itself as the view (setView), which must outlive it too.
    explicit Session(platform::Platform& platform);

    void setView(SessionView* view) { view_ = view; }

    /// Open: the dialog, then openPath with the file chosen.
    void open();
    /// Reads an item text file (280,800 bytes, after asking which one it is)
    /// or a text form and reports the outcome; a failed read leaves the model
    /// and the open file as they were. The open dialog offers path next time.
    void openPath(const std::string& path);
    void save();
    void saveAs();
    void closeFile();

    /// The model; the window's text boxes write into it directly.
    ItemTexts& texts() { return texts_; }
    const ItemTexts& texts() const { return texts_; }
    FileForm form() const { return form_; }
    bool fileOpen() const { return form_ != FileForm::None; }
    const std::string& currentFile() const { return currentFile_; }
    /// "Current File: -None-", or the path in lower case with " (Items)" or
    /// " (Bobby Ray)".
    std::string fileLabel() const;
    /// Where names.def is written.
    std::string namesDefPath() const;


private:
    void error(const platform::Message& text);
    /// Runs the progress window around a write; false after an error message
    /// or a cancelled question. A save onto the open item file keeps what
    /// another program changed in it since it was read (writedataOver); the
    /// model then holds the texts as saved, and kept_ says how many of those
    /// changes were kept.
    bool writeBinary(const std::string& path);
    bool writeTextForm(const std::string& path);
    /// "File successfully saved" (with kept_, once) and, for Items, the
    /// names.def question.
    void saved();

    platform::Platform& platform_;
    SessionView* view_ = nullptr;
    ItemTexts texts_;
    FileForm form_ = FileForm::None;
    std::string currentFile_;
    /// The open item file's texts as last read or written: the base of a
    /// save's merge. None for a text form.
    std::optional<ItemTexts> base_;
    std::string kept_; // what the last merged save kept, told once
    std::string startFolder_;
    std::string lastName_; // the name last chosen in either dialog
};

} // namespace velloc
