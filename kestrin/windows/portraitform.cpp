#include "kestrin/windows/portraitform.h"

// Qt
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

// ours
#include "kestrin/core/profile.h"
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"
#include "widgets/jpegimage.h"

namespace kestrin {

namespace {

constexpr int kFaceWidth = 102, kFaceHeight = 120, kBorder = 3;
constexpr int kGridLeft = 20, kGridTop = 40, kStepX = 110, kStepY = 124;

QPixmap picture(const QString& name)
{
    auto image = widgets::decodeJpegResource(":/pictures/" + name);
    return image ? QPixmap::fromImage(*image) : QPixmap();
}

} // namespace

TPortraitForm::TPortraitForm(Profile& profile)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), profile_(profile)
{
    setObjectName("PortraitForm");
    setWindowTitle("Kestrin - Portrait");
    setFixedSize(572, 542);
    flat::applyFlatStyle(this); // first: the controls made below take the look as they are made

    auto* header = new flat::HeaderStrip("Portrait", this);
    header->setObjectName("Panel1");
    header->setGeometry(0, 0, 572, header->sizeHint().height());

    const QPixmap highlight = picture("highlight.jpg");
    for (int k = 0; k < 16; ++k) {
        const int x = kGridLeft + (k % 4) * kStepX;
        const int y = kGridTop + (k / 4) * kStepY;
        // The frame lies behind the face and shows as a border around it.
        auto* frame = new QLabel(this);
        frame->setObjectName(QString("Pic%1").arg(k + 1));
        frame->setPixmap(highlight);
        frame->setGeometry(x - kBorder, y - kBorder, kFaceWidth + 2 * kBorder, kFaceHeight + 2 * kBorder);
        frame->setVisible(k == 0);
        frames_[k] = frame;

        auto* face = new QLabel(this);
        face->setObjectName(QString("Image%1").arg(k + 1));
        face->setPixmap(picture(QString("face%1.jpg").arg(k, 2, 10, QChar('0'))));
        face->setGeometry(x, y, kFaceWidth, kFaceHeight);
        face->setCursor(Qt::PointingHandCursor);
        face->installEventFilter(this);
        faces_[k] = face;
    }

    auto* done = new flat::FlatSpeedButton("&Done", this);
    done->setObjectName("FlatSpeedButton1");
    done->setGeometry(572 - 110, 542 - 34, 100, 26);
    connect(done, &flat::FlatSpeedButton::clicked, this, &QWidget::hide);
}

bool TPortraitForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < 16; ++k) {
            if (watched == faces_[k]) {
                ShowPortrait(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPortraitForm::ShowPortrait(int face)
{
    if (face < 0 || face > 15)
        return;
    for (int k = 0; k < 16; ++k)
        frames_[k]->setVisible(k == face);
    profile_.setHidden(Hidden::Portrait, face);
}

} // namespace kestrin
