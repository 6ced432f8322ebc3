#pragma once

// The desktop implementation of the platform layer, with Qt Widgets.

// standard
#include <optional>
#include <string>
#include <string_view>

// Qt
#include <QStringList>

// ours
#include "platform/platform.h"
#include "platform/nativefilesystem.h"

class QWidget;

namespace platform {

/// Turns a filter of description and pattern pairs ("Text|*.txt;*.log|All|*.*")
/// into Qt name filters, one per pair with a pattern ("Text (*.[tT][xX][tT]
/// *.[lL][oO][gG])", "All (*.*)"). The patterns match letters of either case,
/// as on Windows; with QFileDialog::HideNameFilterDetails each filter shows
/// just its description. An empty description shows the patterns as given.
QStringList qtNameFilters(std::string_view filter);

/// With VARNHOLD_EXIT_AFTER_FIRST_PAINT set in the environment, the program
/// ends as soon as the window has been painted once, so that
/// bench/bench_startup.cpp can time a whole start up to the first picture on
/// the screen; otherwise nothing.
void endAfterFirstPaintWhenAsked(QWidget& window);

class QtPlatform final : public Platform {
public:
    /// programName: shown on boxes given no title; lineBreak: how the
    /// program's boxes join a message's lines.
    explicit QtPlatform(std::string programName, LineBreak lineBreak = LineBreak::Cr);

    /// The window that boxes and dialogs are centred on; may be null.
    void setParentWindow(QWidget* window) { parent_ = window; }

    Answer message(const Message& message, std::string_view title, Buttons buttons) override;
    std::optional<FileChoice> openFileDialog(const FileDialogOptions& options) override;
    std::optional<FileChoice> saveFileDialog(const FileDialogOptions& options) override;
    FileSystem& files() override { return files_; }
    std::string programFolder() override;
    std::string workingFolder() override;
    std::string configFolder() override;
    Status openUrl(const std::string& url) override;
    std::string programName() const override { return programName_; }
    LineBreak lineBreak() const override { return lineBreak_; }

private:
    std::string programName_;
    LineBreak lineBreak_;
    QWidget* parent_ = nullptr;
    NativeFileSystem files_;
};

} // namespace platform
