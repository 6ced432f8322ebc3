#include "platform/qtplatform.h"

// standard
#include <utility>

// Qt
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

// ours
#include "platform/process.h"

namespace platform {

namespace {

/// Characters Qt accepts in the patterns of a name filter; anything else
/// would make Qt read the whole filter text as patterns.
bool allowedInPattern(QChar c)
{
    static const QString others = QStringLiteral("_.,*?+#-[]@{}/!<>$%&=^~:|");
    return (c.unicode() < 128 && c.isLetterOrNumber()) || others.contains(c);
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

QChar otherCase(QChar c)
{
    return c.isUpper() ? c.toLower() : c.toUpper();
}

/// A wildcard pattern that matches letters of either case: "*.exe" gives
/// "*.[eE][xX][eE]" and "*.[a-c]" gives "*.[a-cA-C]". Characters Qt could not
/// take, and blanks (which separate Qt's patterns), stand as '?'.
QString caseless(const QString& pattern)
{
    auto kept = [](QChar c) { return allowedInPattern(c) ? c : QChar(u'?'); };
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        // A set "[...]" (a ']' right after '[' belongs to it) keeps its
        // members and gains its letters and letter ranges in the other case.
        if (const qsizetype close = c == u'[' ? pattern.indexOf(u']', i + 2) : -1; close >= 0) {
            const QString set = pattern.mid(i + 1, close - i - 1);
            QString members;
            QString added;
            for (qsizetype k = 0; k < set.size(); ++k) {
                members += kept(set.at(k));
                if (k + 2 < set.size() && set.at(k + 1) == u'-' && isAsciiLetter(set.at(k))
                    && isAsciiLetter(set.at(k + 2))) {
                    members += set.at(k + 1);
                    members += set.at(k + 2);
                    added += otherCase(set.at(k)) + u'-' + otherCase(set.at(k + 2));
                    k += 2;
                } else if (isAsciiLetter(set.at(k))) {
                    added += otherCase(set.at(k));
                }
            }
            out += u'[' + members + added + u']';
            i = close;
        } else if (isAsciiLetter(c)) {
            out += u'[' + c.toLower() + c.toUpper() + u']';
        } else {
            out += kept(c);
        }
    }
    return out;
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Line ends as the programs' boxes join lines ("\r\n" or a lone "\r"), and
/// any a line brings of its own, as the "\n" that Qt breaks lines at.
QString messageText(std::string_view text)
{
    QString s = fromUtf8(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

/// The 1-based index of the filter the dialog shows, 1 when there is none.
int selectedFilterIndex(const QFileDialog& dialog, const QStringList& filters)
{
    const QString selected = dialog.selectedNameFilter();
    const auto index = filters.indexOf(selected);
    if (index >= 0)
        return static_cast<int>(index) + 1;
    // The dialog may report the filter as shown, without its patterns.
    static const QRegularExpression details(QStringLiteral("\\s*\\([^()]*\\)$"));
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (QString(filters.at(i)).remove(details).simplified() == selected.simplified())
            return static_cast<int>(i) + 1;
    return 1;
}

std::optional<FileChoice> runFileDialog(QWidget* parent, const FileDialogOptions& options, bool save,
                                        const QString& workingFolder)
{
    QFileDialog dialog(parent, fromUtf8(options.title));
    QFileDialog::Options flags = QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails;
    if (save)
        flags |= QFileDialog::DontConfirmOverwrite; // the programs ask their own question
    dialog.setOptions(flags);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !options.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!save && !options.defaultExtension.empty())
        dialog.setDefaultSuffix(fromUtf8(options.defaultExtension));
    dialog.setDirectory(options.initialFolder.empty() ? workingFolder : fromUtf8(options.initialFolder));

    const QStringList filters = qtNameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (options.filterIndex >= 1 && options.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(options.filterIndex - 1));
    }
    if (!options.initialName.empty())
        dialog.selectFile(fromUtf8(options.initialName));

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return FileChoice{QDir::toNativeSeparators(files.first()).toStdString(),
                      selectedFilterIndex(dialog, filters)};
}

} // namespace

QStringList qtNameFilters(std::string_view filter)
{
    const QStringList parts = fromUtf8(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(u';', Qt::SkipEmptyParts))
            if (const QString p = pattern.trimmed(); !p.isEmpty())
                patterns += caseless(p);
        QString description = parts.at(i).trimmed();
        if (patterns.isEmpty()) {
            // A trailing "|" or "||" ends many filters; a description
            // without patterns is a filter for everything.
            if (description.isEmpty())
                continue;
            patterns += QStringLiteral("*");
        }
        if (description.isEmpty())
            description = parts.at(i + 1).trimmed();
        filters += description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

void endAfterFirstPaintWhenAsked(QWidget& window)
{
    if (!qEnvironmentVariableIsSet("VARNHOLD_EXIT_AFTER_FIRST_PAINT"))
        return;
    class EndAfterFirstPaint final : public QObject {
    public:
        using QObject::QObject;

    protected:
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            return false;
        }
    };
    window.installEventFilter(new EndAfterFirstPaint(&window)); // the window owns it
}

QtPlatform::QtPlatform(std::string programName, LineBreak lineBreak)
    : programName_(std::move(programName)), lineBreak_(lineBreak)
{
}

Answer QtPlatform::message(const Message& message, std::string_view title, Buttons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(fromUtf8(title.empty() ? std::string_view(programName_) : title));
    box.setTextFormat(Qt::PlainText); // the programs' texts are never markup
    box.setText(messageText(message.joined(lineBreak_)));
    box.setIcon(QMessageBox::NoIcon);

    // The button that closing the box (Escape, the window's close button)
    // stands for: No for Yes/No, the last button otherwise.
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    box.exec();

    const QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (clicked && clicked == box.button(QMessageBox::No))
        return Answer::No;
    if (clicked && clicked == box.button(QMessageBox::Ok))
        return Answer::Ok;
    if (clicked && clicked == box.button(QMessageBox::Cancel))
        return Answer::Cancel;
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    }
    return Answer::Cancel;
}

std::optional<FileChoice> QtPlatform::openFileDialog(const FileDialogOptions& options)
{
    return runFileDialog(parent_, options, false, QDir::currentPath());
}

std::optional<FileChoice> QtPlatform::saveFileDialog(const FileDialogOptions& options)
{
    return runFileDialog(parent_, options, true, QDir::currentPath());
}

std::string QtPlatform::programFolder()
{
    return platform::programFolder();
}

std::string QtPlatform::workingFolder()
{
    return currentFolder();
}

std::string QtPlatform::configFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? std::string() : QDir::toNativeSeparators(QDir::cleanPath(folder)).toStdString();
}

Status QtPlatform::openUrl(const std::string& url)
{
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || address.isRelative())
        return Status::failure("Could not open " + url + ": it is not a valid web address");
    if (!QDesktopServices::openUrl(address))
        return Status::failure("Could not open " + url
                               + ": no program to show web pages could be started");
    return Status::success();
}

} // namespace platform
