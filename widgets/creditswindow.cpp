#include "widgets/creditswindow.h"

// Qt
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace widgets {

namespace {

QLabel* label(const QString& text, const QString& name, QWidget* parent, int pointSize = 0, bool bold = false)
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

CreditsWindow::CreditsWindow(const Credits& credits) : QWidget(nullptr, Qt::Window)
{
    setObjectName("credits");
    setWindowTitle("Info");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picture1 = new QLabel(this);
    picture1->setObjectName("Picture1");
    picture1->setPixmap(credits.picture1);
    auto* picture2 = new QLabel(this);
    picture2->setObjectName("Picture2");
    picture2->setPixmap(credits.picture2);

    auto* heading = new QGridLayout;
    heading->addWidget(picture1, 0, 0, 3, 1);
    heading->addWidget(label(credits.title, "ltitle", this, 16, true), 0, 1);
    heading->addWidget(label(credits.edition, "ledition", this, 0, true), 1, 1);
    heading->addWidget(label(credits.version, "lversion", this), 2, 1);
    heading->addWidget(picture2, 0, 2, 3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    auto addLines = [&](const std::vector<QString>& lines, const QString& prefix) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            layout->addWidget(label(lines[i], prefix + QString::number(i + 1), this));
    };
    addLines(credits.makers, "lmaker");
    layout->addSpacing(8);
    layout->addWidget(label("Thanks to:", "lthanks", this, 0, true));
    addLines(credits.thanks, "lthanks");
    layout->addSpacing(8);
    layout->addWidget(label("The Beta Testers:", "lbeta", this, 0, true));
    addLines(credits.beta, "lbeta");

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

} // namespace widgets
