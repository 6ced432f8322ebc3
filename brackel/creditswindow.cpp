#include "brackel/creditswindow.h"

// Qt
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace brackel {

namespace {

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

QLabel* label(const QString& text, const char* name, QWidget* parent, int pointSize = 0, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignHCenter);
    QFont font = l->font();
    if (pointSize)
        font.setPointSize(pointSize);
    font.setBold(bold);
    l->setFont(font);
    return l;
}

} // namespace

CreditsWindow::CreditsWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("credits");
    setWindowTitle("Info");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picture1 = new QLabel(this);
    picture1->setObjectName("Picture1");
    picture1->setPixmap(reticlePicture());
    auto* picture2 = new QLabel(this);
    picture2->setObjectName("Picture2");
    picture2->setPixmap(bipodPicture());

    auto* heading = new QGridLayout;
    heading->addWidget(picture1, 0, 0, 3, 1);
    heading->addWidget(label("Brackel", "ltitle", this, 16, true), 0, 1);
    heading->addWidget(label("BRACKEL", "ledition", this, 0, true), 1, 1);
    heading->addWidget(label("ver. 2.0", "lversion", this), 2, 1);
    heading->addWidget(picture2, 0, 2, 3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(label("The attachment editor for Varnhold.", "lauthor1", this));
    layout->addWidget(label("Made by the Brackel team, for every player who wants a scope on that rifle.",
                            "lauthor2", this));
    layout->addSpacing(8);
    layout->addWidget(label("Thanks to:", "lthanks", this, 0, true));
    layout->addWidget(label("everyone who mapped the game's files before us,", "lthanks1", this));
    layout->addWidget(label("and everyone who sent in a bug report.", "lthanks2", this));
    layout->addSpacing(8);
    layout->addWidget(label("The Beta Testers:", "lbeta", this, 0, true));
    layout->addWidget(label("the players who tried the early builds", "lbeta1", this));
    layout->addWidget(label("and told us what broke.", "lbeta2", this));

    auto* close = new QPushButton("Close", this);
    close->setObjectName("cmdclose");
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

void CreditsWindow::closeEvent(QCloseEvent* event)
{
    emit closed();
    event->accept();
}

} // namespace brackel
