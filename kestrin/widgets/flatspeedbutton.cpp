#include "kestrin/widgets/flatspeedbutton.h"

// standard
#include <algorithm>

// Qt
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

// ours
#include "kestrin/widgets/flatstyle.h"

namespace kestrin::flat {

namespace {

constexpr QSize kArrowSize(16, 11);
constexpr int kArrowWidth = 12; // the part an arrow takes beside a caption

} // namespace

FlatSpeedButton::FlatSpeedButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    init();
    setText(text); // registers the access key
}

FlatSpeedButton::FlatSpeedButton(Qt::ArrowType arrow, QWidget* parent) : QAbstractButton(parent), arrow_(arrow)
{
    init();
}

void FlatSpeedButton::init()
{
    // Never takes the focus, so that a stepper clicked beside a field leaves
    // the caret in the field.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FlatSpeedButton::setArrow(Qt::ArrowType arrow)
{
    if (arrow == arrow_)
        return;
    arrow_ = arrow;
    updateGeometry();
    update();
}

QSize FlatSpeedButton::sizeHint() const
{
    if (text().isEmpty())
        return kArrowSize;
    const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
    const int arrowPart = arrow_ == Qt::NoArrow ? 0 : kArrowWidth;
    return {caption.width() + arrowPart + 16, std::max(caption.height() + 8, 23)};
}

QSize FlatSpeedButton::minimumSizeHint() const
{
    return sizeHint();
}

void FlatSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool enabled = isEnabled();
    const QRgb fill = !enabled ? flatcolor::window
                    : isDown() || isChecked() ? flatcolor::pressed
                    : underMouse() ? flatcolor::hover
                                   : flatcolor::face;
    p.fillRect(rect(), QColor::fromRgba(fill));
    p.setPen(QColor::fromRgba(enabled ? flatcolor::border : flatcolor::borderDisabled));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    // Held down, the content sinks by a pixel.
    QRect content = rect().adjusted(2, 2, -2, -2);
    if (isDown())
        content.translate(1, 1);
    const QColor ink = QColor::fromRgba(enabled ? flatcolor::text : flatcolor::textDisabled);
    if (text().isEmpty()) {
        drawFlatArrow(&p, arrow_, content.adjusted(1, 0, -1, 0), ink);
        return;
    }
    if (arrow_ != Qt::NoArrow) {
        drawFlatArrow(&p, arrow_, QRect(content.left() + 2, content.top(), kArrowWidth - 2, content.height()), ink);
        content.setLeft(content.left() + kArrowWidth);
    }
    const bool underline = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this);
    p.setPen(ink);
    p.drawText(content, Qt::AlignCenter | (underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic), text());
}

void FlatSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (held_ != Qt::NoButton) { // a second button during a press changes nothing
        event->accept();
        return;
    }
    if (!hitButton(event->position().toPoint())) {
        event->ignore();
        return;
    }
    held_ = event->button();
    if (held_ == Qt::LeftButton) { // the usual way, with clicked() on release
        QAbstractButton::mousePressEvent(event);
        return;
    }
    setDown(true);
    emit pressed();
    event->accept();
}

void FlatSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != held_) {
        event->accept();
        return;
    }
    held_ = Qt::NoButton;
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    if (isDown()) {
        setDown(false);
        emit released();
    }
    event->accept();
}

void FlatSpeedButton::abandonPress()
{
    held_ = Qt::NoButton;
    if (isDown()) {
        setDown(false);
        emit released();
    }
}

void FlatSpeedButton::changeEvent(QEvent* event)
{
    // A disabled button gets no release: end the press here, or a stepper
    // would go on stepping. (The base class already lets go of the left one.)
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        abandonPress();
}

void FlatSpeedButton::hideEvent(QHideEvent* event)
{
    abandonPress();
    QAbstractButton::hideEvent(event);
}

} // namespace kestrin::flat
