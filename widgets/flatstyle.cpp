#include "widgets/flatstyle.h"

// standard
#include <algorithm>
#include <utility>

// Qt
#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace widgets {

namespace {

QColor c(QRgb rgb) { return QColor::fromRgba(rgb); }

Qt::ArrowType arrowOf(QStyle::PrimitiveElement element)
{
    switch (element) {
    case QStyle::PE_IndicatorArrowUp: return Qt::UpArrow;
    case QStyle::PE_IndicatorArrowDown: return Qt::DownArrow;
    case QStyle::PE_IndicatorArrowLeft: return Qt::LeftArrow;
    default: return Qt::RightArrow;
    }
}

/// The style beneath the style sheet: Fusion, with what a style sheet cannot
/// draw flat without pictures (check marks, radio dots, arrows, combo boxes
/// and their arrow buttons, splitter handles) drawn here.
class FlatGlyphStyle : public QProxyStyle {
public:
    FlatGlyphStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_SplitterWidth:
            return 5;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                       const QWidget* widget) const override
    {
        const bool enabled = option->state & State_Enabled;
        const QColor ink = c(enabled ? flatcolor::text : flatcolor::textDisabled);
        switch (element) {
        case PE_IndicatorArrowUp:
        case PE_IndicatorArrowDown:
        case PE_IndicatorArrowLeft:
        case PE_IndicatorArrowRight:
            drawFlatArrow(p, arrowOf(element), option->rect, ink);
            return;
        case PE_IndicatorCheckBox:
            drawCheckBox(option, p);
            return;
        case PE_IndicatorRadioButton:
            drawRadioButton(option, p);
            return;
        case PE_FrameFocusRect: {
            p->save();
            p->setPen(QPen(c(flatcolor::accent), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(option->rect.adjusted(0, 0, -1, -1));
            p->restore();
            return;
        }
        default:
            QProxyStyle::drawPrimitive(element, option, p, widget);
        }
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                     const QWidget* widget) const override
    {
        if (element != CE_Splitter) {
            QProxyStyle::drawControl(element, option, p, widget);
            return;
        }
        // A plain band, khaki under the mouse, with three grip dots.
        const QRect r = option->rect;
        p->fillRect(r, c(option->state & (State_MouseOver | State_Sunken) ? flatcolor::hover : flatcolor::window));
        const bool across = option->state & State_Horizontal; // the handle of a side-by-side splitter
        const QPoint centre = r.center();
        for (int i = -1; i <= 1; ++i) {
            const QPoint dot = across ? centre + QPoint(0, 5 * i) : centre + QPoint(5 * i, 0);
            p->fillRect(QRect(dot, QSize(2, 2)).translated(-1, -1), c(flatcolor::border));
        }
    }

    // Combo boxes: a white field with a 1 px border and a flat arrow button
    // that shares the border on the right.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override
    {
        if (control != CC_ComboBox) {
            QProxyStyle::drawComplexControl(control, option, p, widget);
            return;
        }
        const bool enabled = option->state & State_Enabled;
        const QRect button = subControlRect(CC_ComboBox, option, SC_ComboBoxArrow, widget);
        p->save();
        p->fillRect(option->rect, c(enabled ? flatcolor::field : flatcolor::window));
        p->fillRect(button, c(!enabled ? flatcolor::window
                              : option->state & State_On ? flatcolor::pressed // the list is open
                              : option->state & State_MouseOver ? flatcolor::hover
                                                                : flatcolor::face));
        p->setPen(c(!enabled ? flatcolor::borderDisabled
                    : option->state & State_HasFocus ? flatcolor::accent
                                                     : flatcolor::border));
        p->drawRect(option->rect.adjusted(0, 0, -1, -1));
        const int divider = option->direction == Qt::RightToLeft ? button.right() + 1 : button.left() - 1;
        p->drawLine(divider, button.top(), divider, button.bottom());
        p->restore();
        drawFlatArrow(p, Qt::DownArrow, button, c(enabled ? flatcolor::text : flatcolor::textDisabled));
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const QRect r = option->rect;
        constexpr int buttonWidth = 15; // plus the divider
        switch (sub) {
        case SC_ComboBoxArrow:
            return visualRect(option->direction, r,
                              QRect(r.right() - buttonWidth, r.top() + 1, buttonWidth, r.height() - 2));
        case SC_ComboBoxEditField:
            return visualRect(option->direction, r,
                              QRect(r.left() + 4, r.top() + 2, r.width() - buttonWidth - 7, r.height() - 4));
        case SC_ComboBoxFrame:
        case SC_ComboBoxListBoxPopup:
            return r;
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }

private:
    static void drawCheckBox(const QStyleOption* option, QPainter* p)
    {
        const bool enabled = option->state & State_Enabled;
        const QRect box = QRect(option->rect.topLeft(), QSize(13, 13)).translated(0, (option->rect.height() - 13) / 2);
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->fillRect(box, c(!enabled ? flatcolor::window
                                    : option->state & State_Sunken ? flatcolor::hover
                                                                   : flatcolor::field));
        p->setPen(c(!enabled ? flatcolor::borderDisabled
                             : option->state & State_MouseOver ? flatcolor::accent
                                                               : flatcolor::border));
        p->drawRect(box.adjusted(0, 0, -1, -1));
        const QColor mark = c(enabled ? flatcolor::accent : flatcolor::textDisabled);
        if (option->state & State_NoChange) {
            p->fillRect(box.adjusted(3, 5, -3, -5), mark);
        } else if (option->state & State_On) {
            p->setRenderHint(QPainter::Antialiasing, true);
            p->setPen(QPen(mark, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            const QPointF o = box.topLeft();
            const QPointF tick[] = {o + QPointF(3.5, 6.5), o + QPointF(5.5, 8.5), o + QPointF(9.5, 4.0)};
            p->drawPolyline(tick, 3);
        }
        p->restore();
    }

    static void drawRadioButton(const QStyleOption* option, QPainter* p)
    {
        const bool enabled = option->state & State_Enabled;
        const QRectF box = QRectF(option->rect.topLeft(), QSizeF(13, 13)).translated(0, (option->rect.height() - 13) / 2);
        p->save();
        p->setRenderHint(QPainter::Antialiasing, true);
        p->setPen(c(!enabled ? flatcolor::borderDisabled
                             : option->state & State_MouseOver ? flatcolor::accent
                                                               : flatcolor::border));
        p->setBrush(c(!enabled ? flatcolor::window
                               : option->state & State_Sunken ? flatcolor::hover
                                                              : flatcolor::field));
        p->drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
        if (option->state & State_On) {
            p->setPen(Qt::NoPen);
            p->setBrush(c(enabled ? flatcolor::accent : flatcolor::textDisabled));
            p->drawEllipse(box.center(), 3.0, 3.0);
        }
        p->restore();
    }
};

QStyle* glyphStyle()
{
    // One for the whole program, owned by the application object, so that it
    // outlives every window that uses it.
    static QPointer<QStyle> style;
    if (!style) {
        style = new FlatGlyphStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

QString hex(QRgb rgb) { return c(rgb).name(); }

} // namespace

void drawFlatArrow(QPainter* p, Qt::ArrowType arrow, const QRect& rect, const QColor& colour)
{
    if (arrow == Qt::NoArrow)
        return;
    const bool vertical = arrow == Qt::UpArrow || arrow == Qt::DownArrow;
    const int across = vertical ? rect.width() : rect.height();
    const int along = vertical ? rect.height() : rect.width();
    int base = std::clamp(std::min(across - 2, along * 2 - 2), 3, 9);
    base -= 1 - base % 2; // odd, so that the tip is a single pixel
    const int depth = (base + 1) / 2;
    const QPoint centre = rect.center();
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < depth; ++i) {
        const int half = base / 2 - i; // the widest row first, towards the tip
        QRect row;
        switch (arrow) {
        case Qt::DownArrow:
            row = QRect(centre.x() - half, centre.y() - depth / 2 + i, 2 * half + 1, 1);
            break;
        case Qt::UpArrow:
            row = QRect(centre.x() - half, centre.y() + depth / 2 - i, 2 * half + 1, 1);
            break;
        case Qt::RightArrow:
            row = QRect(centre.x() - depth / 2 + i, centre.y() - half, 1, 2 * half + 1);
            break;
        default:
            row = QRect(centre.x() + depth / 2 - i, centre.y() - half, 1, 2 * half + 1);
            break;
        }
        p->fillRect(row, colour);
    }
    p->restore();
}

QString flatStyleSheet()
{
    using namespace flatcolor;
    QString sheet = R"(
QPushButton {
    background: @face; color: @text; border: 1px solid @border;
    padding: 3px 12px; min-height: 17px; min-width: 48px;
}
QPushButton:hover { background: @hover; }
QPushButton:pressed, QPushButton:checked { background: @pressed; }
QPushButton:focus { border-color: @accent; }
QPushButton:disabled { background: @window; color: @textDisabled; border-color: @borderDisabled; }

QLineEdit, QAbstractItemView, QPlainTextEdit, QTextEdit {
    background: @field; color: @text; border: 1px solid @border;
    selection-background-color: @accent; selection-color: @accentText;
}
QLineEdit { padding: 2px 3px; }
QAbstractItemView { padding: 1px; }
QLineEdit:focus, QAbstractItemView:focus, QPlainTextEdit:focus, QTextEdit:focus { border-color: @accent; }
QLineEdit:read-only { background: @face; }
QLineEdit:disabled, QAbstractItemView:disabled, QPlainTextEdit:disabled, QTextEdit:disabled {
    background: @window; color: @textDisabled; border-color: @borderDisabled;
}

/* Combo boxes are drawn by the style beneath; only their parts are here. */
QComboBox QLineEdit, QComboBox QLineEdit:focus, QComboBox QLineEdit:disabled {
    border: none; padding: 0px; background: transparent;
}
QComboBox QAbstractItemView { outline: 0; }

QAbstractItemView::item:hover { background: @hover; color: @text; }
QAbstractItemView::item:selected { background: @accent; color: @accentText; }

QCheckBox, QRadioButton { color: @text; spacing: 5px; }
QCheckBox:disabled, QRadioButton:disabled { color: @textDisabled; }
)";
    const std::pair<const char*, QRgb> colours[] = {
        {"@window", window},   {"@field", field},     {"@face", face},
        {"@borderDisabled", borderDisabled},          {"@border", border},
        {"@textDisabled", textDisabled},              {"@text", text},
        {"@hover", hover},     {"@pressed", pressed}, {"@accentText", accentText},
        {"@accent", accent},
    };
    // Longer names first where one is the start of another (@border, @text, @accent).
    for (const auto& [name, rgb] : colours)
        sheet.replace(QLatin1String(name), hex(rgb));
    return sheet;
}

void applyFlatStyle(QWidget* window)
{
    if (!window)
        return;
    QPalette palette = window->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, c(flatcolor::window));
        palette.setColor(group, QPalette::WindowText, c(flatcolor::text));
        palette.setColor(group, QPalette::Base, c(flatcolor::field));
        palette.setColor(group, QPalette::AlternateBase, c(flatcolor::face));
        palette.setColor(group, QPalette::Text, c(flatcolor::text));
        palette.setColor(group, QPalette::Button, c(flatcolor::face));
        palette.setColor(group, QPalette::ButtonText, c(flatcolor::text));
        palette.setColor(group, QPalette::Highlight, c(flatcolor::accent));
        palette.setColor(group, QPalette::HighlightedText, c(flatcolor::accentText));
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, c(flatcolor::window));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, c(flatcolor::textDisabled));
    palette.setColor(QPalette::Disabled, QPalette::Text, c(flatcolor::textDisabled));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, c(flatcolor::textDisabled));
    palette.setColor(QPalette::Disabled, QPalette::Base, c(flatcolor::window));
    window->setPalette(palette);

    // The style first: the style sheet set next keeps it underneath, and
    // children inherit the sheet's style, so later widgets get the look too.
    window->setStyle(glyphStyle());
    window->setStyleSheet(flatStyleSheet());
}

} // namespace widgets
