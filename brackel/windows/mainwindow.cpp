#include "brackel/windows/mainwindow.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

// ours
#include "platform/codepage.h"
#include "widgets/named.h"
#include "widgets/creditswindow.h"

namespace brackel {

using widgets::named;

namespace {

// The order in which the window holds the boxes.
constexpr std::array<Kind, kKindCount> kBoxOrder = {
    Kind::Silencer, Kind::LaserScope, Kind::Duckbill, Kind::Bipod,
    Kind::RodAndSpring, Kind::SniperScope, Kind::Extender, Kind::Talon,
};

// The order in which a refresh sets the boxes.
constexpr std::array<Kind, kKindCount> kRefreshOrder = {
    Kind::Silencer, Kind::SniperScope, Kind::LaserScope, Kind::Duckbill,
    Kind::Bipod, Kind::Talon, Kind::RodAndSpring, Kind::Extender,
};

// A rifle scope's reticle.
QPixmap reticlePicture()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(30, 44, 38));
    p.setPen(QPen(QColor(120, 130, 110), 3));
    p.drawEllipse(QRectF(4, 4, 56, 56));
    p.setPen(QPen(QColor(210, 60, 40), 1.5));
    p.drawLine(QPointF(12, 32), QPointF(26, 32));
    p.drawLine(QPointF(38, 32), QPointF(52, 32));
    p.drawLine(QPointF(32, 12), QPointF(32, 26));
    p.drawLine(QPointF(32, 38), QPointF(32, 52));
    p.drawEllipse(QPointF(32, 32), 2, 2);
    return pixmap;
}

// A bipod under a barrel.
QPixmap bipodPicture()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 64), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 20), QPointF(58, 20));
    p.setPen(QPen(QColor(90, 90, 96), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 22), QPointF(26, 56));
    p.drawLine(QPointF(40, 22), QPointF(54, 56));
    p.setBrush(QColor(150, 120, 70));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 16, 14, 9), 2, 2);
    return pixmap;
}

} // namespace

MainWindow::MainWindow(Editor& editor, const platform::CodePage& codePage, QWidget* parent)
    : QMainWindow(parent), editor_(editor), codePage_(codePage)
{
    setObjectName("main");
    setWindowTitle("Brackel");
    buildMenus();
    buildControls();
    editor_.setView(this);
    fileStateChanged();
    showCount();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, also while the Info window is up.
    event->accept();
    QApplication::quit();
}

MainWindow::~MainWindow()
{
    editor_.setView(nullptr);
    if (credits_)
        delete credits_.data();
}

void MainWindow::buildMenus()
{
    QMenu* mfile = named(menuBar()->addMenu("&File"), "mfile");
    QAction* mopen = named(mfile->addAction("&Open"), "mopen");
    msave_ = named(mfile->addAction("&Save"), "msave");
    msaveas_ = named(mfile->addAction("Save &as"), "msaveas");
    named(mfile->addSeparator(), "mmenuline0");
    mclose_ = named(mfile->addAction("&Close"), "mclose");
    named(mfile->addSeparator(), "mmenuline1");
    QAction* mexit = named(mfile->addAction("&Exit"), "mexit");
    QMenu* mhelp = named(menuBar()->addMenu("&Help"), "mhelp");
    QAction* minfo = named(mhelp->addAction("&Info"), "minfo");

    connect(mopen, &QAction::triggered, this, [this] { editor_.open(); });
    connect(msave_, &QAction::triggered, this, [this] { editor_.save(); });
    connect(msaveas_, &QAction::triggered, this, [this] { editor_.saveAs(); });
    connect(mclose_, &QAction::triggered, this, [this] { editor_.close(); });
    connect(mexit, &QAction::triggered, qApp, &QApplication::quit);
    connect(minfo, &QAction::triggered, this, &MainWindow::showInfo);
}

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);

    itemlist_ = named(new QListWidget(central), "itemlist");
    itemlist_->setMinimumSize(300, 360);
    connect(itemlist_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        editor_.selectWeapon(row);
        refresh();
    });

    auto* frame = named(new QGroupBox(central), "Frame2");
    auto* boxLayout = new QVBoxLayout(frame);
    for (Kind kind : kBoxOrder) {
        const QString caption = codePage_.toUnicode(editor_.names().captions[static_cast<int>(kind)]);
        auto* box = named(new QCheckBox(caption, frame), info(kind).checkBox.data());
        boxes_[static_cast<int>(kind)] = box;
        boxLayout->addWidget(box);
        // toggled fires only on a real change, from a click or from code alike.
        connect(box, &QCheckBox::toggled, this, [this, kind](bool ticked) { boxToggled(kind, ticked); });
    }

    auto* lremaint = named(new QLabel("Remaining Entries:", central), "lremaint");
    lremain_ = named(new QLabel("182", central), "lremain");
    QFont countFont = lremain_->font();
    countFont.setBold(true);
    lremain_->setFont(countFont);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lremaint);
    countRow->addWidget(lremain_);
    countRow->addStretch();

    cmdclear_ = named(new QPushButton("Clear all", central), "cmdclear");
    cmdreset_ = named(new QPushButton("Reset all", central), "cmdreset");
    connect(cmdclear_, &QPushButton::clicked, this, [this] { editor_.clearAll(); });
    connect(cmdreset_, &QPushButton::clicked, this, [this] { editor_.resetAll(); });

    auto* right = new QVBoxLayout;
    right->addWidget(frame);
    right->addLayout(countRow);
    right->addWidget(cmdclear_);
    right->addWidget(cmdreset_);
    right->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(itemlist_, 1);
    top->addLayout(right);

    lcurfile_ = named(new QLabel(central), "lcurfile");
    lcurfile_->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(lcurfile_);
}

void MainWindow::fileStateChanged()
{
    const bool open = editor_.fileOpen();
    lcurfile_->setText(QString::fromStdString(editor_.currentFileLabel()));
    for (QWidget* w : std::initializer_list<QWidget*>{itemlist_, lremain_, cmdclear_, cmdreset_})
        w->setEnabled(open);
    for (QCheckBox* box : boxes_)
        box->setEnabled(open);
    msave_->setEnabled(open);
    msaveas_->setEnabled(open);
    mclose_->setEnabled(open);
    if (!open)
        itemlist_->clear();
}

void MainWindow::modelLoaded()
{
    {
        const QSignalBlocker block(itemlist_);
        itemlist_->clear();
        for (int p = 0; p < kWeaponCount; ++p)
            itemlist_->addItem(codePage_.toUnicode(editor_.weaponLine(p)));
        itemlist_->setCurrentRow(0);
    }
    editor_.selectWeapon(0);
    refresh();
}

void MainWindow::flagsChanged()
{
    refresh();
}

void MainWindow::refresh()
{
    const Flags& flags = editor_.model().currentFlags();
    const int weapon = editor_.model().currentWeapon();
    for (Kind kind : kRefreshOrder)
        box(kind)->setChecked(flags.get(kind, weapon));
    showCount();
}

void MainWindow::showCount()
{
    const int remaining = editor_.model().remainingEntries();
    lremain_->setText(QString::number(remaining));
    lremain_->setStyleSheet(remaining == 0 ? "color: rgb(255, 0, 0);" : "color: rgb(0, 0, 0);");
}

void MainWindow::boxToggled(Kind kind, bool ticked)
{
    const bool shown = editor_.click(kind, ticked);
    if (shown != ticked)
        box(kind)->setChecked(shown);
    showCount();
}

void MainWindow::showInfo()
{
    if (!credits_) {
        widgets::Credits credits;
        credits.title = "Brackel";
        credits.edition = "BRACKEL";
        credits.version = "ver. 2.0";
        credits.makers = {"The attachment editor for Varnhold.",
                          "Made by the Brackel team, for every player who wants a scope on that rifle."};
        credits.thanks = {"everyone who mapped the game's files before us,", "and everyone who sent in a bug report."};
        credits.beta = {"the players who tried the early builds", "and told us what broke."};
        credits.picture1 = reticlePicture();
        credits.picture2 = bipodPicture();
        credits_ = new widgets::CreditsWindow(credits);
        connect(credits_, &widgets::CreditsWindow::closed, this, [this] { setEnabled(true); });
    }
    setEnabled(false);
    credits_->show();
    credits_->raise();
    credits_->activateWindow();
}

} // namespace brackel
