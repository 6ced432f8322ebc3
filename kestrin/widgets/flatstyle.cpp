#include "kestrin/widgets/flatstyle.h"

// standard
#include <algorithm>
#include <utility>

// Qt
#include <QApplication>
#include <QChildEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace kestrin::flat {

namespace {

QColor c(QRgb rgb) { return QColor::fromRgba(rgb); }

// Where no style sheet is over them, one-line fields and radio buttons are
// given here what the flat style sheet (flatStyleSheet) gives them elsewhere,
// to the pixel: a field is filled white inside a 1 px border, olive while it
// has the focus, grey when disabled, with the button face when read-only,
// and has 2 px above and below and 3 px beside its text; a radio button has
// its 13 px dot at the left, vertically centred, and its caption 5 px after
// it. Under a sheet the sheet's rules decide, as before.
constexpr int kFieldBorder = 1, kFieldPaddingX = 3, kFieldPaddingY = 2;
constexpr int kIndicator = 13, kLabelSpacing = 5;

bool sheetFree(const QWidget* widget) { return widget && !widget->testAttribute(Qt::WA_StyleSheet); }

bool plainField(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) && sheetFree(widget);
}

bool plainRadioButton(const QWidget* widget)
{
    return qobject_cast<const QRadioButton*>(widget) && sheetFree(widget);
}

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
        case PM_DefaultFrameWidth:
            if (plainField(widget))
                return kFieldBorder;
            break;
        case PM_RadioButtonLabelSpacing:
            if (plainRadioButton(widget))
                return kLabelSpacing;
            break;
        default:
            break;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        if (type == CT_LineEdit && plainField(widget))
            return size + QSize(2 * (kFieldBorder + kFieldPaddingX), 2 * (kFieldBorder + kFieldPaddingY));
        if (type == CT_RadioButton && plainRadioButton(widget))
            return {size.width() + kIndicator + kLabelSpacing, std::max(size.height(), kIndicator)};
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        const QRect r = option->rect;
        if (element == SE_LineEditContents && plainField(widget)) {
            const int x = kFieldBorder + kFieldPaddingX, y = kFieldBorder + kFieldPaddingY;
            return visualRect(option->direction, r, r.adjusted(x, y, -x, -y));
        }
        if (plainRadioButton(widget)) {
            switch (element) {
            case SE_RadioButtonIndicator:
                return alignedRect(option->direction, Qt::AlignLeft | Qt::AlignVCenter, QSize(kIndicator, kIndicator), r);
            case SE_RadioButtonContents: {
                const QRect dot = visualRect(option->direction, r, subElementRect(SE_RadioButtonIndicator, option, widget));
                const int left = dot.left() + dot.width() + kLabelSpacing;
                return visualRect(option->direction, r, QRect(left, r.y(), r.width() - dot.width() - kLabelSpacing, r.height()));
            }
            case SE_RadioButtonFocusRect:
            case SE_RadioButtonClickRect:
                return r;
            default:
                break;
            }
        }
        return QProxyStyle::subElementRect(element, option, widget);
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
        case PE_PanelLineEdit:
            if (plainField(widget)) {
                drawField(option, p);
                return;
            }
            break;
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
        if (element == CE_RadioButton && plainRadioButton(widget)) {
            // The dot, the caption, and the focus frame around the whole button.
            const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            if (!button)
                return;
            QStyleOptionButton part = *button;
            part.rect = subElementRect(SE_RadioButtonIndicator, button, widget);
            proxy()->drawPrimitive(PE_IndicatorRadioButton, &part, p, widget);
            part.rect = subElementRect(SE_RadioButtonContents, button, widget);
            proxy()->drawControl(CE_RadioButtonLabel, &part, p, widget);
            if (button->state & State_HasFocus) {
                QStyleOptionFocusRect focus;
                focus.QStyleOption::operator=(*button);
                focus.rect = subElementRect(SE_RadioButtonFocusRect, button, widget);
                proxy()->drawPrimitive(PE_FrameFocusRect, &focus, p, widget);
            }
            return;
        }
        if (element == CE_RadioButtonLabel && plainRadioButton(widget)) {
            // The caption at the left of its part, centred vertically, its
            // access letter underlined where the platform shows them.
            const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            if (!button || button->text.isEmpty())
                return;
            int flags = int(visualAlignment(button->direction, Qt::AlignLeft | Qt::AlignVCenter)) | Qt::TextShowMnemonic;
            if (!proxy()->styleHint(SH_UnderlineShortcut, button, widget))
                flags |= Qt::TextHideMnemonic;
            proxy()->drawItemText(p, button->rect, flags, button->palette, button->state & State_Enabled, button->text,
                                  QPalette::WindowText);
            return;
        }
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
    static void drawField(const QStyleOption* option, QPainter* p)
    {
        const bool enabled = option->state & State_Enabled;
        const QRect r = option->rect;
        p->fillRect(r, c(!enabled ? flatcolor::window
                         : option->state & State_ReadOnly ? flatcolor::face
                                                          : flatcolor::field));
        const QColor edge = c(!enabled ? flatcolor::borderDisabled
                              : option->state & State_HasFocus ? flatcolor::accent
                                                               : flatcolor::border);
        p->fillRect(QRect(r.left(), r.top(), r.width(), kFieldBorder), edge);
        p->fillRect(QRect(r.left(), r.bottom(), r.width(), kFieldBorder), edge);
        p->fillRect(QRect(r.left(), r.top(), kFieldBorder, r.height()), edge);
        p->fillRect(QRect(r.right(), r.top(), kFieldBorder, r.height()), edge);
    }

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

// The colours a control has under the flat style sheet: the application's
// palette for its kind (a window's palette does not pass to the controls
// under a sheet), with the sheet's text, field and selection colours for
// one-line fields and its text colours for radio buttons.
QPalette sheetPalette(const QWidget* widget)
{
    QPalette palette = QApplication::palette(widget);
    palette.setResolveMask(~QPalette::ResolveMask(0)); // every colour its own, none from the window
    const auto* field = qobject_cast<const QLineEdit*>(widget);
    if (!field && !qobject_cast<const QRadioButton*>(widget))
        return palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Disabled, QPalette::Inactive}) {
        const bool enabled = group != QPalette::Disabled;
        const QColor text = c(enabled ? flatcolor::text : flatcolor::textDisabled);
        for (const QPalette::ColorRole role :
             {QPalette::ButtonText, widget->foregroundRole(), QPalette::WindowText, QPalette::Text})
            palette.setColor(group, role, text);
        QColor placeholder = text;
        placeholder.setAlpha((placeholder.alpha() + 1) / 2);
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
        if (!field)
            continue;
        const QColor fill = c(!enabled ? flatcolor::window : field->isReadOnly() ? flatcolor::face : flatcolor::field);
        for (const QPalette::ColorRole role :
             {QPalette::Base, QPalette::Button, widget->backgroundRole(), QPalette::Window})
            palette.setColor(group, role, fill);
        palette.setColor(group, QPalette::Highlight, c(flatcolor::accent));
        palette.setColor(group, QPalette::HighlightedText, c(flatcolor::accentText));
    }
    return palette;
}

// Gives every widget made inside a window without a style sheet the flat
// style, as a sheet would: a widget's own style does not pass to the widgets
// made inside it. Each new widget gets it as it is made, before it draws or
// measures anything, and the colours the sheet would give it when it is
// first polished. What a combo box makes is left to the sheet the combo
// takes (FlatComboBox).
class StyleInheritance final : public QObject {
public:
    explicit StyleInheritance(QWidget* window) : QObject(window), window_(window) {}

    void adopt(QWidget* widget)
    {
        widget->setStyle(glyphStyle());
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::ChildAdded) {
            auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
            if (child && widget->styleSheet().isEmpty() && !qobject_cast<QComboBox*>(widget))
                adopt(child);
        } else if (event->type() == QEvent::Polish && widget != window_ && widget->styleSheet().isEmpty()) {
            widget->setPalette(sheetPalette(widget));
        }
        return false;
    }

private:
    QWidget* window_;
};

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

namespace {

void setFlatPalette(QWidget* window)
{
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
}

} // namespace

void applyFlatStyle(QWidget* window)
{
    if (!window)
        return;
    setFlatPalette(window);
    // The style first: the style sheet set next keeps it underneath, and
    // children inherit the sheet's style, so later widgets get the look too.
    window->setStyle(glyphStyle());
    window->setStyleSheet(flatStyleSheet());
}

void applyFlatStyleWithoutSheet(QWidget* window)
{
    if (!window)
        return;
    setFlatPalette(window);
    auto* inheritance = new StyleInheritance(window);
    inheritance->adopt(window);
}

void FlatComboBox::showPopup()
{
    if (styleSheet().isEmpty())
        setStyleSheet(flatStyleSheet());
    QComboBox::showPopup();
}

} // namespace kestrin::flat
