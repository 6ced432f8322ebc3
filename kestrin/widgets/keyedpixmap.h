#pragma once

// Figures painted on a plain key colour, shown with the key colour taken out:
// JPEG has no transparency. JPEG also smears colours where the figure meets
// the key, so everything near the key goes, not only the exact colour.

// Qt
#include <QColor>
#include <QImage>
#include <QPixmap>

namespace kestrin::flat {

/// `image` with every pixel whose red, green and blue all lie within
/// `tolerance` of `key` made fully transparent, as Format_ARGB32_Premultiplied.
/// A null image gives a null image; a negative tolerance takes nothing out.
QImage keyedImage(const QImage& image, QColor key = QColor(255, 0, 255), int tolerance = 60);

/// keyedImage() as a pixmap for painting on screen; null for a null image.
/// Like every QPixmap, it needs a QGuiApplication to exist.
QPixmap keyedPixmap(const QImage& image, QColor key = QColor(255, 0, 255), int tolerance = 60);

} // namespace kestrin::flat
