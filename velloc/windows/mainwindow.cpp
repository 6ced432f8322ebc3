#include "velloc/windows/mainwindow.h"

// standard
#include <algorithm>
#include <optional>

// Qt
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QValidator>
#include <QVBoxLayout>

// ours
#include "platform/codepage.h"
#include "widgets/named.h"
#include "widgets/codepagevalidator.h"
#include "widgets/creditswindow.h"
#include "velloc/core/itemlist.h"
#include "velloc/core/typing.h"

namespace velloc {

using widgets::named;

namespace {

// Positions of the controls in the client area, in pixels. The description
// box moves up into the full name's place for Bobby Ray texts.
constexpr int kLeft = 264, kBoxWidth = 344;
constexpr int kShortLabelY = 32, kShortBoxY = 48;
constexpr int kLongLabelY = 72, kLongBoxY = 88;
constexpr int kDescLabelY = 112, kDescBoxY = 128, kDescHeight = 81;         // Items
constexpr int kDescLabelUpY = 72, kDescBoxUpY = 88, kDescHeightUp = 121;     // Bobby Ray (40 px taller)

// An open book.
QPixmap bookPicture()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.setBrush(QColor(245, 238, 215));
    p.drawRoundedRect(QRectF(4, 14, 27, 38), 2, 2);
    p.drawRoundedRect(QRectF(33, 14, 27, 38), 2, 2);
    p.setPen(QPen(QColor(120, 110, 100), 1.2));
    for (int y = 22; y <= 44; y += 5) {
        p.drawLine(QPointF(8, y), QPointF(27, y));
        p.drawLine(QPointF(37, y), QPointF(56, y));
    }
    return pixmap;
}

// A price tag on a string.
QPixmap tagPicture()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF tag({QPointF(14, 18), QPointF(44, 18), QPointF(58, 32), QPointF(44, 46), QPointF(14, 46)});
    p.setPen(QPen(QColor(110, 80, 20), 2));
    p.setBrush(QColor(230, 190, 90));
    p.drawPolygon(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(46, 32), 3, 3);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(20, 28), QPointF(36, 28));
    p.drawLine(QPointF(20, 36), QPointF(32, 36));
    return pixmap;
}

} // namespace

MainWindow::MainWindow(Session& session, const platform::CodePage& codePage, QWidget* parent)
    : QMainWindow(parent), session_(session), codePage_(codePage)
{
    setObjectName("main");
    setWindowTitle("Velloc - Description Editor");
    buildMenus();
    buildControls();
    session_.setView(this);
    setEditingEnabled(false);
    cball_->setEnabled(false);
    lcurfile_->setText(QString::fromStdString(session_.fileLabel()));
}

MainWindow::~MainWindow()
{
    session_.setView(nullptr);
    delete progress_.data();
    delete credits_.data();
}

void MainWindow::buildMenus()
{
    QMenu* mfile = named(menuBar()->addMenu("&File"), "mfile");
    QAction* mopen = named(mfile->addAction("&Open"), "mopen");
    msave_ = named(mfile->addAction("&Save"), "msave");
    msaveas_ = named(mfile->addAction("Save &As..."), "msaveas");
    named(mfile->addSeparator(), "mmenuline0");
    mclosefile_ = named(mfile->addAction("&Close"), "mclosefile");
    named(mfile->addSeparator(), "mmenuline1");
    QAction* mclose = named(mfile->addAction("&Exit"), "mclose");
    QMenu* mhelp = named(menuBar()->addMenu("&Help"), "mhelp");
    QAction* minfo = named(mhelp->addAction("&Info"), "minfo");

    connect(mopen, &QAction::triggered, this, [this] { session_.open(); });
    connect(msave_, &QAction::triggered, this, [this] { session_.save(); });
    connect(msaveas_, &QAction::triggered, this, [this] { session_.saveAs(); });
    connect(mclosefile_, &QAction::triggered, this, [this] { session_.closeFile(); });
    connect(mclose, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    connect(minfo, &QAction::triggered, this, &MainWindow::showInfo);
}

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);

    auto place = [central](QWidget* w, int x, int y, int width, int height) {
        w->setParent(central);
        w->setGeometry(x, y, width, height);
    };

    place(named(new QLabel("Select Item:"), "litemlist"), 8, 8, 240, 18);
    itemlist_ = named(new QListWidget, "itemlist");
    place(itemlist_, 8, 28, 240, 300);
    itemlist_->setUniformItemSizes(true);
    connect(itemlist_, &QListWidget::currentRowChanged, this, &MainWindow::selectionMade);

    cball_ = named(new QCheckBox("Show all Items"), "cball");
    place(cball_, 8, 334, 240, 20);
    // toggled fires on a real change only, from a click or from code alike.
    connect(cball_, &QCheckBox::toggled, this, &MainWindow::rebuildList);

    place(named(new QLabel("Short name:"), "lshortname"), kLeft, kShortLabelY, kBoxWidth, 16);
    tbshortname_ = named(new QLineEdit, "tbshortname");
    place(tbshortname_, kLeft, kShortBoxY, kBoxWidth, 22);
    tbshortname_->setValidator(new widgets::CodePageValidator(codePage_, tbshortname_));
    connect(tbshortname_, &QLineEdit::textChanged, this, &MainWindow::shortNameChanged);

    llongname_ = named(new QLabel("Full name:"), "llongname");
    place(llongname_, kLeft, kLongLabelY, kBoxWidth, 16);
    tblongname_ = named(new QLineEdit, "tblongname");
    place(tblongname_, kLeft, kLongBoxY, kBoxWidth, 22);
    tblongname_->setValidator(new widgets::CodePageValidator(codePage_, tblongname_));
    connect(tblongname_, &QLineEdit::textChanged, this, &MainWindow::fullNameChanged);

    ldesc_ = named(new QLabel("Description:"), "ldesc");
    place(ldesc_, kLeft, kDescLabelY, kBoxWidth, 16);
    tbdesc_ = named(new QPlainTextEdit, "tbdesc");
    place(tbdesc_, kLeft, kDescBoxY, kBoxWidth, kDescHeight);
    tbdesc_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(tbdesc_->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) { descriptionEditAt_ = position; });
    connect(tbdesc_, &QPlainTextEdit::textChanged, this, &MainWindow::descriptionChanged);

    lcurfile_ = named(new QLabel, "lcurfile");
    lcurfile_->setTextFormat(Qt::PlainText);
    place(lcurfile_, 8, 360, kLeft + kBoxWidth - 8, 18);

    central->setFixedSize(kLeft + kBoxWidth + 8, 384);
}

bool MainWindow::showingAll() const
{
    return cball_->isChecked();
}

void MainWindow::rebuildList()
{
    const bool all = showingAll();
    const ItemTexts& texts = session_.texts();
    QStringList entries;
    entries.reserve(itemlist::count(all));
    for (int position = 0; position < itemlist::count(all); ++position)
        entries << (!all && position == itemlist::kHeaderPosition
                        ? QString(itemlist::kHeader)
                        : codePage_.toUnicode(itemlist::entry(itemlist::itemAt(position, all), texts)));
    itemlist_->clear();
    itemlist_->addItems(entries);
    itemlist_->setCurrentRow(itemlist::positionOf(currentItem_, all));
}

void MainWindow::selectionMade(int position)
{
    if (position < 0)
        return;
    const bool all = showingAll();
    if (!all && position == itemlist::kHeaderPosition) {
        itemlist_->setCurrentRow(position + 1); // the header line is no item
        return;
    }
    currentItem_ = itemlist::itemAt(position, all);
    showItem();
}

void MainWindow::showItem()
{
    const ItemTexts& texts = session_.texts();
    QString description = codePage_.toUnicode(texts.descriptions[currentItem_]);
    description.replace("\r\n", "\n");
    description.replace(u'\r', u'\n'); // a lone CR is a line break in the box too
    // The boxes show the model's texts; filling them changes nothing in it,
    // so a text that is shown and not edited is saved exactly as read.
    loading_ = true;
    tbshortname_->setText(codePage_.toUnicode(texts.shortNames[currentItem_]));
    tblongname_->setText(codePage_.toUnicode(texts.fullNames[currentItem_]));
    if (descriptionBoxText() != description)
        tbdesc_->setPlainText(description);
    shownDescription_ = descriptionBoxText();
    loading_ = false;
}

bool MainWindow::takeTypedText(QLineEdit* box, Field field, std::string& text)
{
    auto bytes = codePage_.fromUnicode(box->text());
    if (!bytes)
        return false;
    if (!typingFits(bytes->size(), text.size(), typingLimit(field, session_.texts().fileType))) {
        // Past the typing limit: the keystroke or paste is refused. A longer
        // text that came from a file is still shown whole and may be shortened.
        const int cursor = box->cursorPosition() - static_cast<int>(bytes->size() - text.size());
        loading_ = true;
        box->setText(codePage_.toUnicode(text));
        loading_ = false;
        box->setCursorPosition(std::max(cursor, 0));
        return false;
    }
    text = std::move(*bytes);
    return true;
}

void MainWindow::shortNameChanged()
{
    if (loading_ || !takeTypedText(tbshortname_, Field::ShortName, session_.texts().shortNames[currentItem_]))
        return;
    if (!tbshortname_->isEnabled())
        return;
    // Renew the item's entry in the list; the selection stays on it.
    if (QListWidgetItem* entry = itemlist_->item(itemlist::positionOf(currentItem_, showingAll())))
        entry->setText(codePage_.toUnicode(itemlist::entry(currentItem_, session_.texts())));
}

void MainWindow::fullNameChanged()
{
    if (!loading_)
        takeTypedText(tblongname_, Field::FullName, session_.texts().fullNames[currentItem_]);
}

QString MainWindow::descriptionBoxText() const
{
    // The raw text keeps no-break spaces, which toPlainText() turns into spaces.
    QString text = tbdesc_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void MainWindow::descriptionChanged()
{
    if (loading_)
        return;
    // Only what the user typed or pasted changes: the part of the box's text
    // between the unchanged start and end goes into the model, as the core
    // says (typeIntoDescription).
    const QString now = descriptionBoxText();
    const QString& before = shownDescription_;
    std::string& description = session_.texts().descriptions[currentItem_];
    std::optional<std::string> bytes;
    if (descriptionBoxShows(description, static_cast<std::size_t>(before.size()))) {
        qsizetype head = 0;
        const qsizetype shorter = std::min(before.size(), now.size());
        while (head < shorter && before[head] == now[head])
            ++head;
        qsizetype tail = 0;
        while (tail < shorter - head && before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
            ++tail;
        if (auto typed = codePage_.fromUnicode(now.mid(head, now.size() - head - tail)))
            bytes = typeIntoDescription(description, static_cast<std::size_t>(head),
                                        static_cast<std::size_t>(before.size() - tail), *typed);
    } else if (auto whole = codePage_.fromUnicode(now)) {
        // The box no longer matches the model's text; take the whole box.
        bytes = storedDescription(*whole);
    }
    const std::size_t limit = typingLimit(Field::Description, session_.texts().fileType);
    if (!bytes || !typingFits(bytes->size(), description.size(), limit)) {
        // Refuse the keystroke or paste: a character the code page cannot
        // hold, or more than the typing limit. Line breaks count as two
        // characters, as they are stored.
        const int at = descriptionEditAt_;
        showItem();
        QTextCursor cursor = tbdesc_->textCursor();
        cursor.setPosition(std::min(at, tbdesc_->document()->characterCount() - 1));
        tbdesc_->setTextCursor(cursor);
        return;
    }
    description = std::move(*bytes);
    shownDescription_ = now;
}

void MainWindow::adaptToFileType()
{
    const bool items = session_.texts().fileType == FileType::Items;
    lcurfile_->setText(QString::fromStdString(session_.fileLabel()));
    llongname_->setVisible(items);
    tblongname_->setVisible(items);
    ldesc_->move(kLeft, items ? kDescLabelY : kDescLabelUpY);
    tbdesc_->setGeometry(kLeft, items ? kDescBoxY : kDescBoxUpY, kBoxWidth, items ? kDescHeight : kDescHeightUp);
}

void MainWindow::setEditingEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{itemlist_, tbshortname_, tblongname_, tbdesc_})
        w->setEnabled(enabled);
    msave_->setEnabled(enabled);
    msaveas_->setEnabled(enabled);
    mclosefile_->setEnabled(enabled);
}

void MainWindow::fileLoaded()
{
    adaptToFileType();
    rebuildList();
    cball_->setEnabled(true);
    setEditingEnabled(true);
    selectionMade(itemlist_->currentRow());
}

void MainWindow::fileLabelChanged()
{
    lcurfile_->setText(QString::fromStdString(session_.fileLabel()));
}

void MainWindow::fileClosed()
{
    cball_->setEnabled(false);
    itemlist_->clear();
    setEditingEnabled(false);
    loading_ = true; // emptying the boxes leaves the model's texts alone
    tbshortname_->clear();
    tblongname_->clear();
    tbdesc_->clear();
    loading_ = false;
    lcurfile_->setText(QString::fromStdString(session_.fileLabel()));
}

void MainWindow::showProgress(const char* text)
{
    if (!progress_) {
        progress_ = named(new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
                          "InfoScreen");
        progress_->setWindowTitle("Velloc");
        auto* frame = named(new QGroupBox(progress_), "Frame1");
        auto* label = named(new QLabel(frame), "ltest");
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(200);
        (new QVBoxLayout(frame))->addWidget(label);
        (new QVBoxLayout(progress_))->addWidget(frame);
    }
    auto* label = progress_->findChild<QLabel*>("ltest");
    label->setText(text);
    centralWidget()->setEnabled(false);
    menuBar()->setEnabled(false);
    progress_->show();
    label->repaint();
}

void MainWindow::hideProgress()
{
    delete progress_.data();
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
    activateWindow();
}

void MainWindow::showInfo()
{
    if (!credits_) {
        widgets::Credits credits;
        credits.title = "Velloc";
        credits.edition = "Description Editor";
        credits.version = "ver. 2.0";
        credits.makers = {"Edits the names and descriptions of Varnhold's items",
                          "and writes the weapon names that Brackel shows.",
                          "Made by the Velloc team."};
        credits.thanks = {"everyone who wrote item texts worth keeping,", "and everyone who sent in a bug report."};
        credits.beta = {"the players who renamed every gun twice", "and told us what broke."};
        credits.picture1 = bookPicture();
        credits.picture2 = tagPicture();
        credits_ = new widgets::CreditsWindow(credits);
    }
    credits_->show();
    credits_->raise();
}

} // namespace velloc
