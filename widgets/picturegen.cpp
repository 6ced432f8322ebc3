// Paints Kestrin's pictures and writes them as JPEG files, run at build time;
// the widgets library embeds them as Qt resources under :/pictures/.
//
// Usage: picturegen FOLDER [NAME...]   (no names: every picture)
//
// A picture is a name and a function that paints it; add new ones to
// allPictures().

// standard
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

// Qt
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

// ours
#include "widgets/jpegimage.h"

namespace {

struct Picture {
    QString name;
    std::function<QImage()> paint;
};

// ---- deterministic noise, for patterns that look the same on every build ----

double lattice(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed ^ (static_cast<std::uint32_t>(x) * 0x9E3779B1u) ^ (static_cast<std::uint32_t>(y) * 0x85EBCA77u);
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / double(0x1000000);
}

double smooth(double t) { return t * t * (3 - 2 * t); }

double valueNoise(double x, double y, std::uint32_t seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = smooth(x - x0);
    const double fy = smooth(y - y0);
    const double top = std::lerp(lattice(x0, y0, seed), lattice(x0 + 1, y0, seed), fx);
    const double bottom = std::lerp(lattice(x0, y0 + 1, seed), lattice(x0 + 1, y0 + 1, seed), fx);
    return std::lerp(top, bottom, fy);
}

/// Fractal noise in 0..1: four octaves of value noise.
double fractal(double x, double y, std::uint32_t seed)
{
    double sum = 0, amplitude = 0.5, total = 0;
    for (int octave = 0; octave < 4; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint32_t>(octave) * 101u);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(std::lerp(a.redF(), b.redF(), t)),
                            static_cast<float>(std::lerp(a.greenF(), b.greenF(), t)),
                            static_cast<float>(std::lerp(a.blueF(), b.blueF(), t)));
}

// ---- the banner ----

/// Dark olive ground with three-tone camouflage blots and contour lines, the
/// pattern fading in from the left so that the mark and the words stay clear.
void paintTerrain(QImage& image)
{
    const QColor topLeft(0x2c, 0x37, 0x24), bottomRight(0x1b, 0x22, 0x17);
    const QColor dark(0x17, 0x1e, 0x13), light(0x4a, 0x55, 0x36), line(0x8e, 0x98, 0x6a);
    const int w = image.width(), h = image.height();
    auto height = [](double x, double y) { return fractal(x / 70.0, y / 70.0, 7u); };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / (w - 1), v = double(y) / (h - 1);
            QColor colour = mix(topLeft, bottomRight, 0.35 * u + 0.65 * v);
            const double strength = 0.25 + 0.75 * smooth(std::clamp((x - 60.0) / 260.0, 0.0, 1.0));

            const double camo = fractal(x / 34.0, y / 22.0, 1234u);
            if (camo < 0.40)
                colour = mix(colour, dark, 0.55 * strength);
            else if (camo > 0.60)
                colour = mix(colour, light, 0.30 * strength);

            // Contour lines: distance to the nearest level, in pixels.
            const double levels = 9.0;
            const double z = height(x, y) * levels;
            const double gx = (height(x + 1, y) - height(x - 1, y)) * levels / 2;
            const double gy = (height(x, y + 1) - height(x, y - 1)) * levels / 2;
            const double distance = std::abs(z - std::round(z)) / std::max(std::hypot(gx, gy), 1e-6);
            const double ink = std::clamp(1.0 - distance / 0.8, 0.0, 1.0);
            colour = mix(colour, line, 0.22 * ink * strength);
            row[x] = colour.rgb();
        }
    }
}

/// A duplex reticle: thick posts outside, a fine cross and mil dots inside.
void paintScope(QPainter& p, QPointF centre)
{
    const QColor khaki(0xd9, 0xd4, 0xae);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x10, 0x14, 0x0c, 140), 4.0));
    p.drawEllipse(centre, 20.0, 20.0); // a soft dark halo behind the ring
    p.setPen(QPen(khaki, 1.8));
    p.drawEllipse(centre, 20.0, 20.0);
    p.setPen(QPen(QColor(khaki.red(), khaki.green(), khaki.blue(), 110), 1.0));
    p.drawEllipse(centre, 12.5, 12.5);

    for (int quarter = 0; quarter < 4; ++quarter) {
        const double angle = quarter * M_PI / 2;
        const QPointF d(std::cos(angle), std::sin(angle));
        p.setPen(QPen(khaki, 1.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(centre + 3.5 * d, centre + 15.0 * d);
        p.setPen(QPen(khaki, 3.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(centre + 15.0 * d, centre + 25.0 * d);
        p.setPen(Qt::NoPen);
        p.setBrush(khaki);
        p.drawEllipse(centre + 9.0 * d, 1.1, 1.1);
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0x8a, 0x3a));
    p.drawEllipse(centre, 1.6, 1.6);
}

/// Range ticks along the bottom edge of the right part.
void paintTicks(QPainter& p, int left, int right, int bottom)
{
    for (int x = right, i = 0; x >= left; x -= 8, ++i) {
        const int length = i % 5 == 0 ? 6 : 3;
        const double fade = std::clamp((x - left) / 120.0, 0.0, 1.0);
        p.fillRect(QRect(x, bottom - length, 1, length), QColor(0xc9, 0xc6, 0xa2, static_cast<int>(90 * fade)));
    }
}

QImage paintBanner()
{
    QImage image(560, 60, QImage::Format_RGB32);
    paintTerrain(image);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(0, 0, image.width(), 1), QColor(0x5b, 0x68, 0x45));
    p.fillRect(QRect(0, image.height() - 1, image.width(), 1), QColor(0x0e, 0x12, 0x0b));

    paintScope(p, QPointF(33.5, 30.5));
    p.fillRect(QRectF(66, 12, 1, 36), QColor(0xd9, 0xd4, 0xae, 70));
    paintTicks(p, 360, image.width() - 12, image.height() - 4);

    QFont title;
    title.setPixelSize(24);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    QFont subtitle;
    subtitle.setPixelSize(12);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);

    // A faint shadow under each line keeps them legible over the pattern.
    auto text = [&p](const QFont& font, QPointF at, const QColor& colour, const QString& words) {
        p.setFont(font);
        p.setPen(QColor(0x0c, 0x10, 0x09, 160));
        p.drawText(at + QPointF(1, 1), words);
        p.setPen(colour);
        p.drawText(at, words);
    };
    text(title, QPointF(78, 31), QColor(0xee, 0xeb, 0xd8), "Kestrin");
    text(subtitle, QPointF(79.5, 48), QColor(0xbd, 0xbf, 0xa0), "custom mercenary editor for Varnhold");
    return image;
}

std::vector<Picture> allPictures()
{
    return {
        {"banner.jpg", paintBanner},
    };
}

/// Whether text shows up at all: without a usable font the words would be
/// missing from the pictures without a word of complaint.
bool textRenders()
{
    QImage probe(64, 24, QImage::Format_RGB32);
    probe.fill(Qt::black);
    QPainter p(&probe);
    p.setPen(Qt::white);
    p.drawText(probe.rect(), Qt::AlignCenter, "Kestrin");
    p.end();
    for (int y = 0; y < probe.height(); ++y)
        for (int x = 0; x < probe.width(); ++x)
            if (probe.pixel(x, y) != qRgb(0, 0, 0))
                return true;
    return false;
}

bool write(const QString& path, const QImage& image)
{
    const auto jpeg = widgets::encodeJpeg(image, 90);
    if (!jpeg) {
        std::fprintf(stderr, "picturegen: %s: %s\n", qPrintable(path), jpeg.error().c_str());
        return false;
    }
    // Read back through the decoder the programs use.
    const auto check = widgets::decodeJpeg({reinterpret_cast<const std::uint8_t*>(jpeg->constData()),
                                            static_cast<std::size_t>(jpeg->size())});
    if (!check || check->size() != image.size()) {
        std::fprintf(stderr, "picturegen: %s does not read back: %s\n", qPrintable(path),
                     check ? "wrong size" : check.error().c_str());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*jpeg) != jpeg->size() || !file.commit()) {
        std::fprintf(stderr, "picturegen: could not write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: picturegen FOLDER [NAME...]\n");
        return 2;
    }
    // Fonts need a QGuiApplication, and that a platform; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "picturegen: could not create %s\n", argv[1]);
        return 1;
    }
    if (!textRenders())
        std::fprintf(stderr, "picturegen: warning: no font renders text; the pictures lack their words\n");

    const std::vector<Picture> pictures = allPictures();
    std::vector<QString> wanted;
    for (int i = 2; i < argc; ++i)
        wanted.push_back(QString::fromLocal8Bit(argv[i]));
    for (const QString& name : wanted) {
        if (std::none_of(pictures.begin(), pictures.end(), [&](const Picture& pic) { return pic.name == name; })) {
            std::fprintf(stderr, "picturegen: no picture is called %s\n", qPrintable(name));
            return 1;
        }
    }
    for (const Picture& picture : pictures) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), picture.name) == wanted.end())
            continue;
        if (!write(QDir(folder).filePath(picture.name), picture.paint()))
            return 1;
    }
    return 0;
}
