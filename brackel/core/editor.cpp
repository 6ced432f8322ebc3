#include "brackel/core/editor.h"

// standard
#include <cassert>

// Qt
#include <QString>

// ours
#include "platform/console.h"
#include "platform/fieldmerge.h"
#include "platform/paths.h"
#include "platform/textlines.h"

namespace brackel {

namespace {

constexpr const char* kNoFile = "Current File: -None-";
constexpr const char* kOpenFilter =
    "Supported files (*.exe, *.brk)|*.exe;*.brk|VRN-Exe (*.exe)|*.exe|Brackel-File (*.brk)|*.brk|All files (*.*)|*.*";
constexpr const char* kSaveFilter = "VRN-Exe (*.exe)|*.exe|Brackel-File (*.brk)|*.brk";

std::string lower(const std::string& path)
{
    return QString::fromStdString(path).toLower().toStdString();
}

} // namespace

Editor::Editor(platform::Platform& platform) : platform_(platform), label_(kNoFile)
{
}

namespace {

/// "File successfully saved", with the note of what another program's
/// changes were kept, when there is one.
platform::Message savedMessage(const std::string& kept)
{
    platform::Message text("File successfully saved");
    if (!kept.empty())
        text.add(kept);
    return text;
}

} // namespace

void Editor::error(const platform::Message& text)
{
    platform_.message(text, "Error", platform::Buttons::Ok);
}

void Editor::success(const platform::Message& text)
{
    platform_.message(text, "Success", platform::Buttons::Ok);
}

bool Editor::readNames(const std::string& startFile)
{
    std::string path = platform::joinPath(platform_.workingFolder(), "names.def");
    // Started with a file from elsewhere (a double click on it, say), the
    // names that belong with it are those in its own folder.
    if (const std::string beside = platform::folderOf(startFile);
        !beside.empty() && !platform_.files().isFile(path))
        path = platform::joinPath(beside, "names.def");
    if (!platform_.files().isFile(path)) {
        error("File not found - names.def");
        return false;
    }
    auto lines = platform::readTextLines(platform_.files(), path);
    if (!lines) {
        error(platform::Message("Could not read names.def:").append(lines.message()));
        return false;
    }
    names_ = parseNames(*lines);
    return true;
}

std::string Editor::weaponLine(int position) const
{
    assert(position >= 0 && position < kWeaponCount);
    return std::to_string(position) + ": " + names_.weaponNames[position];
}

void Editor::setFile(const std::string& path, FileKind kind, std::string_view tag)
{
    currentFile_ = path;
    kind_ = kind;
    label_ = "Current File: " + lower(path);
    if (kind == FileKind::Brk) {
        label_ += " [BRK-File]";
    } else {
        label_ += ' ';
        label_ += tag;
    }
}

void Editor::open()
{
    platform::FileDialogOptions options;
    options.title = "Open";
    options.filter = kOpenFilter;
    options.mustExist = true;
    auto choice = platform_.openFileDialog(options);
    if (!choice || choice->path.empty())
        return;
    openPath(choice->path);
}

void Editor::openPath(const std::string& path)
{
    // The new file is read completely before anything of the editor changes,
    // so a failed open leaves the open file and its model as they were.
    // An executable is opened to be saved later: a patch a killed run left
    // unfinished is rolled back now, before its table is read.
    if (const std::string missing = platform::missingFileMessage(platform_.files(), path); !missing.empty()) {
        error(missing);
        return;
    }
    auto rules = loadRules(platform_.files(), path, platform::Reading::ToEdit);
    for (const std::string& note : platform_.files().takeNotes())
        platform_.message(note, "Warning", platform::Buttons::Ok);
    if (!rules) {
        error(rules.message());
        return;
    }
    model_.load(rules->flags, rules->remaining);
    setFile(path, rules->kind, rules->tag);
    base_ = rules->kind == FileKind::Executable ? std::optional(rules->flags) : std::nullopt;
    // The window shows the loaded file behind the message.
    if (view_) {
        view_->fileStateChanged();
        view_->modelLoaded();
    }
    success("File successfully loaded");
}

bool Editor::writeBrk(const std::string& path)
{
    auto written = writeRules(platform_.files(), path, model_.currentFlags(), model_.remainingEntries());
    if (!written) {
        error(written.message());
        return false;
    }
    return true;
}

bool Editor::writeExe(const std::string& path, std::string_view* tag, std::string* kept)
{
    platform::FileSystem& files = platform_.files();
    // The open executable, under any of its names.
    const bool merging = base_ && kind_ == FileKind::Executable &&
                         (path == currentFile_ || platform::sameFile(path, currentFile_));
    platform::Result<std::string_view> patched = std::string_view();
    std::optional<MergedRules> merged;
    if (merging) {
        auto result = applyRulesOver(files, path, model_.currentFlags(), *base_, [&](const std::vector<int>& clash) {
            std::vector<std::string> names;
            for (int position : clash)
                names.push_back(weaponLine(position));
            return platform::askOverwrite(platform_, path, names);
        });
        if (result)
            merged = *result;
        else
            patched = result.status();
    } else {
        patched = applyRules(files, path, model_.currentFlags());
    }
    // A patch a killed run left unfinished was rolled back first: said before
    // this save's own outcome.
    for (const std::string& note : files.takeNotes())
        platform_.message(note, "Warning", platform::Buttons::Ok);
    if (!patched) {
        error(patched.message());
        return false;
    }
    if (merged && merged->cancelled)
        return false; // the user said No: nothing was written, the window stays as it was
    if (merged) {
        if (!(merged->flags == model_.currentFlags())) {
            // The table as saved, shown for the weapon the user was at.
            const int weapon = model_.currentWeapon();
            model_.load(merged->flags, merged->remaining);
            model_.selectWeapon(weapon);
            if (view_)
                view_->flagsChanged();
        }
        if (kept)
            *kept = platform::keptNote(path, merged->theirsKept);
    }
    base_ = model_.currentFlags();
    if (tag)
        *tag = *patched;
    return true;
}

void Editor::save()
{
    if (kind_ == FileKind::None)
        return;
    // The file keeps its build, so the tag a patch reports is not needed.
    std::string kept;
    const bool written = kind_ == FileKind::Brk ? writeBrk(currentFile_) : writeExe(currentFile_, nullptr, &kept);
    if (written)
        success(savedMessage(kept));
}

void Editor::saveAs()
{
    if (kind_ == FileKind::None)
        return;
    platform::FileDialogOptions options;
    options.title = "Save as...";
    options.filter = kSaveFilter;
    auto choice = platform_.saveFileDialog(options);
    if (!choice || choice->path.empty())
        return;
    const std::string path = choice->path;
    const FileKind target = choice->filterIndex == 2 ? FileKind::Brk : FileKind::Executable;

    std::string_view tag;
    std::string kept;
    if (target == FileKind::Executable) {
        // An executable is only ever patched, never created.
        if (!platform_.files().isFile(path)) {
            platform_.message({"This file does not exist. You have", "to select a existing vrn.exe !"},
                              "File not found", platform::Buttons::Ok);
            return;
        }
        if (!writeExe(path, &tag, &kept))
            return;
    } else {
        if (platform_.files().isFile(path)) {
            // A game file is never replaced by a text file.
            if (auto refused = platform::checkReplaceable(platform_.files(), path); !refused) {
                error(refused.message());
                return;
            }
            const auto answer =
                platform_.message({path, "This file is already existing.", "", "Do you want to replace it ?"},
                                  "Save as...", platform::Buttons::YesNo);
            if (answer != platform::Answer::Yes)
                return;
        }
        if (!writeBrk(path))
            return;
        base_.reset(); // a .brk file has no table to merge with
    }
    setFile(path, target, tag);
    if (view_)
        view_->fileStateChanged();
    success(savedMessage(kept));
}

void Editor::close()
{
    if (kind_ == FileKind::None)
        return;
    if (platform_.message("Are you sure ?", "Close File", platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    kind_ = FileKind::None;
    currentFile_.clear();
    base_.reset();
    label_ = kNoFile;
    model_.close();
    if (view_) {
        view_->fileStateChanged();
        view_->flagsChanged();
    }
}

void Editor::clearAll()
{
    if (platform_.message("Are you sure ? All entries will be cleared !", "Clear all ?", platform::Buttons::YesNo) !=
        platform::Answer::Yes)
        return;
    model_.clearAll();
    if (view_)
        view_->flagsChanged();
}

void Editor::resetAll()
{
    if (platform_.message("Are you sure ? All entries will be reseted !", "Reset all ?", platform::Buttons::YesNo) !=
        platform::Answer::Yes)
        return;
    model_.resetAll();
    if (view_)
        view_->flagsChanged();
}

bool Editor::click(Kind kind, bool ticked)
{
    return model_.click(kind, ticked);
}

} // namespace brackel
