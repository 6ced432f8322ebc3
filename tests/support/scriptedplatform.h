#pragma once

// The platform layer for tests. A test queues, in order, the answers of the
// message boxes and file dialogs that a flow will show; the platform records
// every box and dialog shown. A box or dialog with no queued answer, or whose
// queued answer is of the other sort, is reported as a failure through the
// failure handler and answered as cancelled. Files go to the machine's file
// system unless the test puts another in place.

// standard
#include <deque>
#include <functional>
#include <string>
#include <variant>
#include <vector>

// ours
#include "platform/platform.h"
#include "platform/nativefilesystem.h"

namespace platform {

class ScriptedPlatform final : public Platform {
public:
    struct Box {
        std::string text;
        std::string title; // as shown: the program's name when none was given
        Buttons buttons;
        friend bool operator==(const Box&, const Box&) = default;
    };
    struct Dialog {
        bool save = false;
        FileDialogOptions options;
    };

    /// lineBreak: how the program under test joins a message's lines; a
    /// box is recorded with its lines so joined.
    explicit ScriptedPlatform(std::string programName = "Test", LineBreak lineBreak = LineBreak::Cr);

    // Queue the next answers, in the order the flow will ask for them.
    void answer(Answer button);
    void chooseFile(std::string path, int filterIndex = 1);
    void cancelDialog();

    /// Called with a description of each unexpected box or dialog. The
    /// default handler collects them in failures().
    void setFailureHandler(std::function<void(const std::string&)> handler);

    const std::vector<Box>& boxes() const { return boxes_; }
    const std::vector<Dialog>& dialogs() const { return dialogs_; }
    const std::vector<std::string>& failures() const { return failures_; }
    const std::vector<std::string>& openedUrls() const { return urls_; }
    /// Answers queued but never asked for.
    std::size_t pendingAnswers() const { return queue_.size(); }
    void clearRecord();
    /// The boxes shown since the record was last cleared, in order; clears
    /// the record.
    std::vector<Box> takeBoxes();

    void setFileSystem(FileSystem* files) { files_ = files ? files : &native_; }
    void setProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
    /// Empty (the default): the system names no configuration folder.
    void setConfigFolder(std::string folder) { configFolder_ = std::move(folder); }

    Answer message(const Message& message, std::string_view title, Buttons buttons) override;
    std::optional<FileChoice> openFileDialog(const FileDialogOptions& options) override;
    std::optional<FileChoice> saveFileDialog(const FileDialogOptions& options) override;
    FileSystem& files() override { return *files_; }
    std::string programFolder() override { return programFolder_; }
    std::string workingFolder() override { return workingFolder_; }
    std::string configFolder() override { return configFolder_; }
    Status openUrl(const std::string& url) override;
    std::string programName() const override { return programName_; }
    LineBreak lineBreak() const override { return lineBreak_; }

private:
    struct Cancel {};
    using Step = std::variant<Answer, FileChoice, Cancel>;

    void fail(const std::string& what);
    std::optional<FileChoice> dialog(bool save, const FileDialogOptions& options);

    std::string programName_;
    LineBreak lineBreak_;
    std::deque<Step> queue_;
    std::vector<Box> boxes_;
    std::vector<Dialog> dialogs_;
    std::vector<std::string> failures_;
    std::vector<std::string> urls_;
    std::function<void(const std::string&)> failureHandler_;
    NativeFileSystem native_;
    FileSystem* files_ = &native_;
    std::string programFolder_ = ".";
    std::string workingFolder_ = ".";
    std::string configFolder_;
};

} // namespace platform
