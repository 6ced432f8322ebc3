#include "kestrin/widgets/keyedpixmap.h"

// standard
#include <cstdlib>

namespace kestrin::flat {

QImage keyedImage(const QImage& image, QColor key, int tolerance)
{
    if (image.isNull())
        return {};
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (keyed.isNull() || tolerance < 0)
        return keyed;
    const QRgb k = key.rgb();
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            // Compared unpremultiplied: a half-transparent pixel keeps its colour.
            const QRgb pixel = qUnpremultiply(row[x]);
            if (std::abs(qRed(pixel) - qRed(k)) <= tolerance && std::abs(qGreen(pixel) - qGreen(k)) <= tolerance
                && std::abs(qBlue(pixel) - qBlue(k)) <= tolerance)
                row[x] = 0;
        }
    }
    return keyed;
}

QPixmap keyedPixmap(const QImage& image, QColor key, int tolerance)
{
    return QPixmap::fromImage(keyedImage(image, key, tolerance));
}

} // namespace kestrin::flat
