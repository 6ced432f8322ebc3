#include "velloc/core/session.h"

// standard
#include <utility>

// Qt
#include <QString>

// ours
#include "platform/console.h"
#include "platform/fieldmerge.h"
#include "platform/paths.h"
#include "platform/textlines.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/textfiles.h"
#include "velloc/core/textform.h"

namespace velloc {

namespace {

constexpr const char* kOpenFilter = "Supported Files (*.edt, *.def, *.vlc)|*.edt;*.def;*.vlc|EDT-File (*.edt)|*.edt|"
                                    "DEF-File (*.def)|*.def|Velloc-File (*.vlc)|*.vlc|All Files (*.*)|*.*";
constexpr const char* kSaveFilter = "EDT-File (*.edt)|*.edt|DEF-File (*.def)|*.def|Velloc-File (*.vlc)|*.vlc";

// Keeps the progress window up for the life of a read or write, on every path.
class Progress {
public:
    Progress(SessionView* view, const char* text) : view_(view)
    {
        if (view_)
            view_->showProgress(text);
    }
    ~Progress() { done(); }
    void done()
    {
        if (view_)
            view_->hideProgress();
        view_ = nullptr;
    }

private:
    SessionView* view_;
};

} // namespace

Session::Session(platform::Platform& platform)
    : platform_(platform), startFolder_(platform::checkifroot(platform.workingFolder()))
{
}

void Session::error(const platform::Message& text)
{
    platform_.message(text, "Error", platform::Buttons::Ok);
}

std::string Session::fileLabel() const
{
    if (form_ == FileForm::None)
        return "Current File: -None-";
    return "Current File: " + QString::fromStdString(currentFile_).toLower().toStdString() +
           (texts_.fileType == FileType::Items ? " (Items)" : " (Bobby Ray)");
}

std::string Session::namesDefPath() const
{
    return platform::joinPath(startFolder_, "names.def");
}

void Session::open()
{
    platform::FileDialogOptions options;
    options.title = "Open";
    options.filter = kOpenFilter;
    options.initialName = lastName_;
    options.mustExist = true;
    auto choice = platform_.openFileDialog(options);
    if (!choice || choice->path.empty())
        return;
    openPath(choice->path);
}

void Session::openPath(const std::string& path)
{
    lastName_ = path;
    if (const std::string missing = platform::missingFileMessage(platform_.files(), path); !missing.empty()) {
        error(missing);
        return;
    }

    // Everything is read into a copy; the model changes only once the file
    // has been read completely and accepted.
    Progress progress(view_, "Reading File...");
    auto length = platform_.files().length(path);
    if (!length) {
        progress.done();
        error(length.message());
        return;
    }

    FileForm form;
    ItemTexts read;
    if (*length == kItemFileLength) {
        const auto answer = platform_.message(
            {"Is this a Itemdesc.edt or Braydesc.edt file ?", "Click OK for Itemdesc and Cancel for Braydesc."},
            "Select Target", platform::Buttons::OkCancel);
        const FileType type = answer == platform::Answer::Ok ? FileType::Items : FileType::BobbyRay;
        // Opened to be saved later: a patch a killed run left unfinished is
        // rolled back now, before the texts are read.
        auto texts = readdata(platform_.files(), path, type, texts_, platform::Reading::ToEdit);
        progress.done();
        for (const std::string& note : platform_.files().takeNotes())
            platform_.message(note, "Warning", platform::Buttons::Ok);
        if (!texts) {
            error(texts.message());
            return;
        }
        form = FileForm::Binary;
        read = std::move(*texts);
    } else {
        auto parsed = readTextFormFile(platform_.files(), path, texts_);
        progress.done();
        if (!parsed) {
            error(parsed.message());
            return;
        }
        if (parsed->outcome != TextFormRead::Outcome::Accepted) {
            const bool older = parsed->outcome == TextFormRead::Outcome::Rejected;
            platform_.message(textFormRefusal(*parsed, path).message(), older ? "Incompatibilty" : "Error",
                              platform::Buttons::Ok);
            return;
        }
        form = FileForm::TextForm;
        read = std::move(parsed->texts);
    }

    texts_ = std::move(read);
    currentFile_ = path;
    form_ = form;
    base_ = form == FileForm::Binary ? std::optional(texts_) : std::nullopt;
    // The window shows the loaded file behind the message.
    if (view_)
        view_->fileLoaded();
    platform_.message("File successfully loaded", "Success", platform::Buttons::Ok);
}

bool Session::writeBinary(const std::string& path)
{
    Progress progress(view_, "Saving File...");
    platform::FileSystem& files = platform_.files();
    // The open item file, under any of its names.
    const bool merging = base_ && form_ == FileForm::Binary &&
                         (path == currentFile_ || platform::sameFile(path, currentFile_));
    platform::Status written = platform::Status::success();
    std::optional<MergedTexts> merged;
    if (merging) {
        auto result = writedataOver(files, path, texts_, *base_, [&](const std::vector<std::pair<int, Field>>& clash) {
            std::vector<std::string> names;
            for (const auto& [item, field] : clash)
                names.push_back("item " + std::to_string(item) + ", " + fieldName(field, texts_.fileType));
            return platform::askOverwrite(platform_, path, names);
        });
        if (result)
            merged = std::move(*result);
        else
            written = result.status();
    } else {
        written = writedata(files, path, texts_);
    }
    progress.done();
    // A patch a killed run left unfinished was rolled back first: said before
    // this save's own outcome.
    for (const std::string& note : files.takeNotes())
        platform_.message(note, "Warning", platform::Buttons::Ok);
    if (!written) {
        error(written.message());
        return false;
    }
    if (merged && merged->cancelled)
        return false; // the user said No: nothing was written, the window stays as it was
    if (merged) {
        kept_ = platform::keptNote(path, merged->theirsKept);
        if (!(merged->texts == texts_)) {
            texts_ = std::move(merged->texts);
            if (view_)
                view_->fileLoaded();
        }
    }
    base_ = texts_;
    return true;
}

bool Session::writeTextForm(const std::string& path)
{
    Progress progress(view_, "Saving File...");
    auto written = velloc::writeTextForm(platform_.files(), path, texts_);
    progress.done();
    if (!written) {
        error(written.message());
        return false;
    }
    return true;
}

void Session::saved()
{
    const std::string kept = std::exchange(kept_, {});
    platform::Message text("File successfully saved");
    if (!kept.empty())
        text.add(kept);
    platform_.message(text, "Success", platform::Buttons::Ok);
    if (texts_.fileType != FileType::Items)
        return;
    if (platform_.message("Would you like to use this descriptions in Tarvesk ?", "Update Tarvesk ?",
                          platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    auto written = velloc::writeTextForm(platform_.files(), namesDefPath(), texts_);
    if (!written)
        error(written.message());
}

void Session::save()
{
    if (form_ == FileForm::None)
        return;
    const bool written = form_ == FileForm::Binary ? writeBinary(currentFile_) : writeTextForm(currentFile_);
    if (written)
        saved();
}

void Session::saveAs()
{
    if (form_ == FileForm::None)
        return;
    platform::FileDialogOptions options;
    options.title = "Save As...";
    options.filter = kSaveFilter;
    auto choice = platform_.saveFileDialog(options);
    if (!choice || choice->path.empty())
        return;
    const std::string path = choice->path;
    lastName_ = path;
    const bool binary = choice->filterIndex == 1;

    if (binary) {
        // An item text file is only ever patched, never created.
        if (!platform_.files().isFile(path)) {
            platform_.message({"This file doesn't exist", "Currently VLC is unable to create those files,",
                               "maybe i'll implement this feature later."},
                              "", platform::Buttons::Ok);
            return;
        }
        if (!writeBinary(path))
            return;
    } else {
        if (platform_.files().isFile(path)) {
            // A game file is never replaced by a text file.
            if (auto refused = platform::checkReplaceable(platform_.files(), path); !refused) {
                error(refused.message());
                return;
            }
            if (platform_.message({path, "This File is already existing.", "", "Do you want to replace it ?"},
                                  "Save As...", platform::Buttons::YesNo) != platform::Answer::Yes)
                return;
        }
        if (!writeTextForm(path))
            return;
        base_.reset(); // a text form has no item file to merge with
    }
    currentFile_ = path;
    form_ = binary ? FileForm::Binary : FileForm::TextForm;
    if (view_)
        view_->fileLabelChanged();
    saved();
}

void Session::closeFile()
{
    if (form_ == FileForm::None)
        return;
    if (platform_.message("Are you sure ?", "Are you sure ?", platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    currentFile_.clear();
    form_ = FileForm::None;
    base_.reset();
    if (view_)
        view_->fileClosed();
}

} // namespace velloc
