#include "tests/support/scriptedplatform.h"

// standard
#include <utility>

namespace platform {

namespace {

const char* answerName(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return "Ok";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    }
    return "?";
}

bool fits(Answer answer, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return answer == Answer::Ok;
    case Buttons::OkCancel: return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    }
    return false;
}

/// What closing the box without a button gives: No for Yes/No, otherwise the
/// last button.
Answer closedAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    }
    return Answer::Cancel;
}

} // namespace

ScriptedPlatform::ScriptedPlatform(std::string programName, LineBreak lineBreak)
    : programName_(std::move(programName)), lineBreak_(lineBreak)
{
}

void ScriptedPlatform::answer(Answer button)
{
    queue_.emplace_back(button);
}

void ScriptedPlatform::chooseFile(std::string path, int filterIndex)
{
    queue_.emplace_back(FileChoice{std::move(path), filterIndex});
}

void ScriptedPlatform::cancelDialog()
{
    queue_.emplace_back(Cancel{});
}

void ScriptedPlatform::setFailureHandler(std::function<void(const std::string&)> handler)
{
    // An empty handler brings back the default, which collects in failures().
    failureHandler_ = std::move(handler);
}

void ScriptedPlatform::clearRecord()
{
    boxes_.clear();
    dialogs_.clear();
    failures_.clear();
    urls_.clear();
}

std::vector<ScriptedPlatform::Box> ScriptedPlatform::takeBoxes()
{
    std::vector<Box> shown = std::move(boxes_);
    clearRecord();
    return shown;
}

void ScriptedPlatform::fail(const std::string& what)
{
    if (failureHandler_)
        failureHandler_(what);
    else
        failures_.push_back(what);
}

Answer ScriptedPlatform::message(const Message& message, std::string_view title, Buttons buttons)
{
    Box box{message.joined(lineBreak_), title.empty() ? programName_ : std::string(title), buttons};
    boxes_.push_back(box);
    const std::string shown = box.title + ": " + box.text;

    // A step of the other sort stays queued for the dialog it was meant for.
    if (queue_.empty() || !std::holds_alternative<Answer>(queue_.front())) {
        fail("unexpected message box: " + shown);
        return closedAnswer(buttons);
    }
    const Answer answer = std::get<Answer>(queue_.front());
    queue_.pop_front();
    if (!fits(answer, buttons)) {
        fail(std::string("answer ") + answerName(answer) + " does not fit message box: " + shown);
        return closedAnswer(buttons);
    }
    return answer;
}

std::optional<FileChoice> ScriptedPlatform::openFileDialog(const FileDialogOptions& options)
{
    return dialog(false, options);
}

std::optional<FileChoice> ScriptedPlatform::saveFileDialog(const FileDialogOptions& options)
{
    return dialog(true, options);
}

std::optional<FileChoice> ScriptedPlatform::dialog(bool save, const FileDialogOptions& options)
{
    dialogs_.push_back(Dialog{save, options});
    if (!queue_.empty()) {
        if (auto* choice = std::get_if<FileChoice>(&queue_.front())) {
            FileChoice result = std::move(*choice);
            queue_.pop_front();
            return result;
        }
        if (std::holds_alternative<Cancel>(queue_.front())) {
            queue_.pop_front();
            return std::nullopt;
        }
    }
    fail(std::string("unexpected ") + (save ? "save" : "open") + " dialog: " + options.title);
    return std::nullopt;
}

Status ScriptedPlatform::openUrl(const std::string& url)
{
    urls_.push_back(url);
    return Status::success();
}

} // namespace platform
