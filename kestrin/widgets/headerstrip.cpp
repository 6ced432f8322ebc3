#include "kestrin/widgets/headerstrip.h"

// Qt
#include <QEvent>
#include <QPainter>

// ours
#include "kestrin/widgets/flatstyle.h"

namespace kestrin::flat {

namespace {

constexpr int kPadding = 8; // left of the title
constexpr int kRule = 2;    // the olive rule under the band

} // namespace

HeaderStrip::HeaderStrip(const QString& title, QWidget* parent) : QWidget(parent), title_(title)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(title);
}

void HeaderStrip::setTitle(const QString& title)
{
    if (title == title_)
        return;
    title_ = title;
    setAccessibleName(title);
    updateGeometry();
    update();
}

QFont HeaderStrip::titleFont() const
{
    QFont f = font();
    f.setBold(true);
    return f;
}

QSize HeaderStrip::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    return {metrics.horizontalAdvance(title_) + 2 * kPadding, metrics.height() + 8 + kRule};
}

QSize HeaderStrip::minimumSizeHint() const
{
    return {2 * kPadding, sizeHint().height()};
}

void HeaderStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect band = rect().adjusted(0, 0, 0, -kRule);
    p.fillRect(band, QColor::fromRgba(flatcolor::band));
    p.fillRect(QRect(0, band.bottom() + 1, width(), kRule), QColor::fromRgba(flatcolor::accent));
    p.setFont(titleFont());
    p.setPen(QColor::fromRgba(flatcolor::bandText));
    const QRect textRect = band.adjusted(kPadding, 0, -kPadding, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(title_, Qt::ElideRight, textRect.width()));
}

void HeaderStrip::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace kestrin::flat
