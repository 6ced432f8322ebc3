// Paints the three programs' icons as PNG files, run at build time; the
// desktop folder installs them into the hicolor icon theme. The Windows
// build takes them as one icon file per program, which the programs embed
// and the installer's file associations show.
//
// Usage: iconpaint FOLDER SIZES DESIGN=NAME...
//        iconpaint --ico FILE SIZES DESIGN
//   SIZES is a comma-separated list of edge lengths in pixels, DESIGN one of
//   brackel, velloc, kestrin; each icon is written as
//   FOLDER/<size>x<size>/apps/<NAME>.png, the theme's own layout, or all
//   sizes (up to 256) into FILE, a Windows .ico whose images are PNG data.
//
// Every icon shares one frame: a rounded square in the program's colour,
// lighter at the top, with a white symbol on it. The symbols are drawn on a
// 256-unit canvas scaled to the size asked for; below 32 pixels they lose
// their finest strokes, which would only blur at that size.

// standard
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Qt
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

namespace {

constexpr double kCanvas = 256; // the units every design is drawn in

struct Design {
    QColor top;    // of the frame's gradient
    QColor bottom;
    std::function<void(QPainter&, bool small)> symbol;
};

const QColor kInk(255, 255, 255);

/// A pen in canvas units, never thinner than one and a quarter pixels
/// at the size drawn, so that small icons keep every stroke visible.
QPen strokePen(const QPainter& painter, double width, const QColor& colour = kInk)
{
    const double scale = painter.transform().m11();
    QPen pen(colour, std::max(width, 1.25 / scale));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// ---- Brackel: which attachments each weapon takes — a scope's reticle ----

void paintBrackel(QPainter& p, bool small)
{
    const QPointF centre(128, 128);
    p.setBrush(Qt::NoBrush);
    p.setPen(strokePen(p, small ? 18 : 14));
    p.drawEllipse(centre, 76, 76);
    if (!small) {
        p.setPen(strokePen(p, 6));
        p.drawEllipse(centre, 44, 44);
    }
    // The cross hairs run from the ring inwards and stop short of the centre.
    p.setPen(strokePen(p, small ? 18 : 12));
    const double outer = small ? 92 : 98, inner = small ? 30 : 22;
    p.drawLine(QPointF(128, 128 - outer), QPointF(128, 128 - inner));
    p.drawLine(QPointF(128, 128 + inner), QPointF(128, 128 + outer));
    p.drawLine(QPointF(128 - outer, 128), QPointF(128 - inner, 128));
    p.drawLine(QPointF(128 + inner, 128), QPointF(128 + outer, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(centre, small ? 13 : 9, small ? 13 : 9);
}

// ---- Velloc: the items' names and descriptions — a written page ----

void paintVelloc(QPainter& p, bool small)
{
    // A sheet with its top right corner folded over.
    const double left = 62, top = 40, right = 194, bottom = 216, fold = 40;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(sheet);

    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(corner);

    // Lines of text: a heading, then the body, the last line short.
    const QColor text(40, 86, 150);
    if (small) {
        p.setPen(strokePen(p, 16, text));
        p.drawLine(QPointF(left + 26, 108), QPointF(right - 26, 108));
        p.drawLine(QPointF(left + 26, 150), QPointF(right - 26, 150));
        p.drawLine(QPointF(left + 26, 192), QPointF(right - 60, 192));
        return;
    }
    p.setPen(strokePen(p, 14, text));
    p.drawLine(QPointF(left + 22, 76), QPointF(right - 62, 76));
    p.setPen(strokePen(p, 8, text));
    for (double y : {112.0, 136.0, 160.0})
        p.drawLine(QPointF(left + 22, y), QPointF(right - 22, y));
    p.drawLine(QPointF(left + 22, 184), QPointF(right - 56, 184));
}

// ---- Kestrin: the player's own mercenary — a head and shoulders in a helmet ----

void paintKestrin(QPainter& p, bool small)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(128, 104), 38, 38);

    QPainterPath shoulders;
    shoulders.moveTo(50, 214);
    shoulders.cubicTo(50, 164, 84, 148, 128, 148);
    shoulders.cubicTo(172, 148, 206, 164, 206, 214);
    shoulders.closeSubpath();
    p.drawPath(shoulders);

    // The helmet: a dome over the top of the head with a brim, in a dark
    // shade of the frame, outlined in white so it reads against the frame.
    QPainterPath helmet;
    helmet.moveTo(76, 98);
    helmet.arcTo(QRectF(80, 46, 96, 96), 180, -180);
    helmet.lineTo(180, 98);
    helmet.lineTo(180, 108);
    helmet.lineTo(76, 108);
    helmet.closeSubpath();
    p.setPen(strokePen(p, small ? 12 : 8));
    p.setBrush(QColor(96, 40, 16));
    p.drawPath(helmet);
}

const std::map<std::string, Design>& designs()
{
    static const std::map<std::string, Design> all = {
        {"brackel", {QColor(118, 146, 72), QColor(66, 88, 38), paintBrackel}},
        {"velloc", {QColor(72, 132, 206), QColor(34, 76, 142), paintVelloc}},
        {"kestrin", {QColor(214, 118, 66), QColor(150, 64, 30), paintKestrin}},
    };
    return all;
}

QImage paint(const Design& design, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);

    // The frame fills the canvas less a small margin; icons of a theme are
    // drawn nearly to their edge.
    const QRectF frame(8, 8, 240, 240);
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    gradient.setColorAt(0, design.top);
    gradient.setColorAt(1, design.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(frame, 52, 52);

    design.symbol(p, size < 32);
    p.end();
    return image;
}

bool write(const QString& path, const QImage& image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "iconpaint: could not write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

void putLe(QByteArray& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

/// A Windows icon file: the directory (6 bytes, then 16 per image) and the
/// images as PNG data, which Windows reads since Vista. An edge of 256 is
/// written as 0 in the directory's byte.
bool writeIco(const QString& path, const Design& design, const std::vector<int>& sizes)
{
    std::vector<QByteArray> images;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!paint(design, size).save(&buffer, "PNG"))
            return false;
        images.push_back(png);
    }
    QByteArray out;
    putLe(out, 0, 2); // reserved
    putLe(out, 1, 2); // an icon, not a cursor
    putLe(out, static_cast<unsigned>(images.size()), 2);
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const unsigned edge = sizes[i] == 256 ? 0 : static_cast<unsigned>(sizes[i]);
        putLe(out, edge, 1);
        putLe(out, edge, 1);
        putLe(out, 0, 1);  // no palette
        putLe(out, 0, 1);  // reserved
        putLe(out, 1, 2);  // colour planes
        putLe(out, 32, 2); // bits per pixel
        putLe(out, static_cast<unsigned>(images[i].size()), 4);
        putLe(out, offset, 4);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "iconpaint: could not write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool ico = argc > 1 && std::string(argv[1]) == "--ico";
    if (ico)
        ++argv, --argc;
    if (argc < 4) {
        std::fprintf(stderr, "Usage: iconpaint FOLDER SIZES DESIGN=NAME...\n"
                             "       iconpaint --ico FILE SIZES DESIGN\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    std::vector<int> sizes;
    for (const QString& field : QString::fromLocal8Bit(argv[2]).split(',')) {
        bool ok = false;
        const int size = field.toInt(&ok);
        const int largest = ico ? 256 : 1024;
        if (!ok || size < 8 || size > largest) {
            std::fprintf(stderr, "iconpaint: not a size from 8 to %d: %s\n", largest, qPrintable(field));
            return 2;
        }
        sizes.push_back(size);
    }

    if (ico) {
        const auto design = designs().find(argv[3]);
        if (argc != 4 || design == designs().end()) {
            std::fprintf(stderr, "iconpaint: --ico takes one design of brackel, velloc, kestrin\n");
            return 2;
        }
        return writeIco(folder, design->second, sizes) ? 0 : 1;
    }

    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        const auto design = eq == std::string::npos ? designs().end() : designs().find(arg.substr(0, eq));
        if (design == designs().end() || eq + 1 == arg.size() || arg.find('/') != std::string::npos) {
            std::fprintf(stderr, "iconpaint: expected DESIGN=NAME with a design of brackel, velloc, kestrin "
                                 "and a name without '/': %s\n", argv[i]);
            return 2;
        }
        const QString name = QString::fromStdString(arg.substr(eq + 1));
        for (int size : sizes) {
            const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
            if (!QDir().mkpath(dir)) {
                std::fprintf(stderr, "iconpaint: could not create %s\n", qPrintable(dir));
                return 1;
            }
            if (!write(dir + '/' + name + ".png", paint(design->second, size)))
                return 1;
        }
    }
    return 0;
}
