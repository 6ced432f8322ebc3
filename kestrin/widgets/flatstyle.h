#pragma once

// The flat look of Kestrin's windows: 1 px borders, no bevels, a light grey
// window with white fields and a muted olive accent for hover, pressed and
// selected states.

// Qt
#include <QColor>
#include <QComboBox>
#include <QString>
#include <Qt>

class QPainter;
class QRect;
class QWidget;

namespace kestrin::flat {

/// The colours of the flat look, for widgets that paint themselves.
namespace flatcolor {
inline constexpr QRgb window = 0xffe4e4df;
inline constexpr QRgb field = 0xffffffff;
inline constexpr QRgb face = 0xffefefea;        // resting button
inline constexpr QRgb border = 0xff5f625a;
inline constexpr QRgb borderDisabled = 0xffaeb0a8;
inline constexpr QRgb text = 0xff1f211c;
inline constexpr QRgb textDisabled = 0xff8c8e86;
inline constexpr QRgb hover = 0xffdad6b8;       // light khaki
inline constexpr QRgb pressed = 0xffbdb78c;     // khaki
inline constexpr QRgb accent = 0xff6f7245;      // olive: selection, focus, marks
inline constexpr QRgb accentText = 0xffffffff;
inline constexpr QRgb band = 0xff2f3428;        // header strips
inline constexpr QRgb bandText = 0xffecebdf;
} // namespace flatcolor

/// Gives `window` and everything in it, now and later, the flat look: a
/// palette, a style sheet for frames and fills, and a style underneath that
/// draws check marks, radio dots, arrows, combo boxes and splitter handles.
void applyFlatStyle(QWidget* window);

/// The same look for a window of labels, flat buttons, header strips,
/// one-line fields, radio buttons, group boxes and FlatComboBox lists, drawn
/// by the style alone: the palette, and the style on every widget made in
/// the window, now or later. Nothing is matched against a style sheet for
/// each widget, so the window is quicker to make and smaller; call it before
/// the window's controls are made.
void applyFlatStyleWithoutSheet(QWidget* window);

/// A drop-down list for a window without a style sheet: its pop-up list
/// takes the flat style sheet the first time it opens, and so looks as it
/// does under a window's sheet.
class FlatComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override;
};

/// Paints the flat arrow glyph: a pixel-exact solid triangle centred in
/// `rect`, at most 9 pixels wide.
void drawFlatArrow(QPainter* painter, Qt::ArrowType arrow, const QRect& rect, const QColor& colour);

/// The style sheet applyFlatStyle uses, for windows that merge it with
/// their own rules.
QString flatStyleSheet();

} // namespace kestrin::flat
