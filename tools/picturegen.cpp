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
#include <QPainterPath>
#include <QSaveFile>

// ours
#include "tools/jpegencoder.h"
#include "widgets/jpegimage.h"

namespace {

struct Picture {
    QString name;
    std::function<QImage()> paint;
};

constexpr int kQuality = 90; // of every JPEG written

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

// ---- shared painting helpers ----

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

/// A smooth curve through `points` (Catmull-Rom, as cubic Béziers).
QPainterPath spline(const std::vector<QPointF>& points, bool closed)
{
    QPainterPath path;
    const int n = static_cast<int>(points.size());
    if (n < 2)
        return path;
    auto at = [&](int i) { return closed ? points[static_cast<std::size_t>((i % n + n) % n)]
                                         : points[static_cast<std::size_t>(std::clamp(i, 0, n - 1))]; };
    path.moveTo(points[0]);
    for (int i = 0; i < (closed ? n : n - 1); ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    if (closed)
        path.closeSubpath();
    return path;
}

/// A closed outline that is symmetric about x = cx, given as its right half:
/// from a point on the centre line, down the right side, to another on it.
std::vector<QPointF> mirrored(const std::vector<QPointF>& right, double cx)
{
    std::vector<QPointF> all = right;
    for (auto it = right.rbegin() + 1; it + 1 != right.rend(); ++it)
        all.emplace_back(2 * cx - it->x(), it->y());
    return all;
}

/// A closed shape between two open curves: `outer` forwards, `inner` back.
QPainterPath band(const std::vector<QPointF>& outer, const std::vector<QPointF>& inner)
{
    QPainterPath path = spline(outer, false);
    path.connectPath(spline(inner, false));
    path.closeSubpath();
    return path;
}

/// A texture brush for a picture painted `scale` times oversize: one texel
/// per device pixel.
QBrush textureBrush(const QImage& texture, int scale)
{
    QBrush brush(texture);
    brush.setTransform(QTransform::fromScale(1.0 / scale, 1.0 / scale));
    return brush;
}

/// Fine scattered dots of `colour`, for stubble, buzzed hair and cloth grain.
QImage speckle(QSize size, const QColor& colour, double density, std::uint32_t seed)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const double r = lattice(x, y, seed);
            if (r < density)
                row[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(),
                                            static_cast<int>(colour.alpha() * (0.45 + 0.55 * r / density))));
        }
    }
    return image;
}

/// Woodland camouflage: `colours` are the ground, then blots from light to
/// dark; `grain` is the size of a blot in device pixels.
QImage camouflage(QSize size, const std::vector<QColor>& colours, double grain, std::uint32_t seed)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const double a = fractal(x / grain, y / (grain * 0.7), seed);
            const double b = fractal(x / grain + 17.3, y / (grain * 0.7) + 5.1, seed + 7u);
            const double c = fractal(x / (grain * 0.6) + 3.7, y / (grain * 0.5), seed + 13u);
            QColor colour = colours[0];
            if (a > 0.56)
                colour = colours[1];
            if (b > 0.58)
                colour = colours[2];
            if (c > 0.63 && colours.size() > 3)
                colour = colours[3];
            row[x] = colour.rgb();
        }
    }
    return image;
}

/// Short strokes that follow the lie of the hair inside `area`: combed
/// away from `crown`, or falling straight down.
void hairStrands(QPainter& p, const QPainterPath& area, const QColor& hair, QPointF crown, bool falling,
                 std::uint32_t seed, int count = 70)
{
    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    const QRectF box = area.boundingRect();
    const QColor light = mix(hair, QColor(235, 225, 205), 0.35);
    const QColor dark = hair.darker(170);
    for (int i = 0; i < count * 2; ++i) {
        const double u = lattice(i, 1, seed), v = lattice(i, 2, seed), w = lattice(i, 3, seed);
        const QPointF at(box.left() + box.width() * u, box.top() + box.height() * v);
        if (!area.contains(at))
            continue;
        QPointF d = falling ? QPointF((w - 0.5) * 0.5, 1) : at - crown;
        d /= std::max(std::hypot(d.x(), d.y()), 1e-6);
        const double length = falling ? 6 + 8 * w : 3 + 4 * w;
        QPainterPath strand(at - d * length / 2);
        strand.quadTo(at + QPointF(-d.y(), d.x()) * (w - 0.5) * 2, at + d * length / 2);
        p.setPen(QPen(i % 3 == 0 ? withAlpha(dark, 80) : withAlpha(light, 45), 0.3 + 0.25 * w, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(strand);
    }
    p.restore();
}

// ---- portraits ----

constexpr int kFaceWidth = 102, kFaceHeight = 120;
constexpr int kOversize = 4; // painted this much larger, then scaled down

enum class HairStyle { Crew, Buzzed, Bald, Messy, SidePart, Long, Wavy, Ponytail, Bun, Curly, Pixie, Bob, Tied };
enum class Headwear { None, Beret, Cap, Bandana };
enum class FacialHair { None, Stubble, Moustache, Goatee, Beard };
enum class Neckline { Shirt, Crew, High };

enum Detail : unsigned {
    BrowScar = 1u << 0,
    CheekScar = 1u << 1,
    EyePatch = 1u << 2,
    FacePaint = 1u << 3,
    Freckles = 1u << 4,
    Lines = 1u << 5, // an older face
    Studs = 1u << 6,
    Hoops = 1u << 7,
    Webbing = 1u << 8,
    Undershirt = 1u << 9,
    Silver = 1u << 10, // silver jewellery rather than gold
};

struct Face {
    bool woman;
    QColor skin, hair, eyes;
    HairStyle hairStyle;
    double width, jaw, chin; // half widths at the cheekbones and the jaw corners; chin height
    double brow, browTilt;   // eyebrow thickness; positive turns the inner ends down
    FacialHair facialHair;
    Headwear headwear;
    QColor hat;
    Neckline neckline;
    QColor cloth;
    bool camouflaged;
    unsigned details;
    QColor backdrop;
    std::uint32_t seed;
};

/// Where the features of one face sit.
struct Head {
    double cx = 51, top = 21, eyeY = 50;
    double chin, w, jaw, chinHalf, neck, eyeGap, mouthY, mouthHalf;
    QPainterPath outline;
};

Head headOf(const Face& f)
{
    Head h;
    h.chin = f.chin;
    h.w = f.width;
    h.jaw = f.jaw;
    h.chinHalf = f.jaw * (f.woman ? 0.3 : 0.38);
    h.neck = f.jaw * (f.woman ? 0.6 : 0.78);
    h.eyeGap = f.width * 0.44;
    h.mouthY = h.eyeY + (h.chin - h.eyeY) * 0.69;
    h.mouthHalf = f.woman ? 5.6 : 6.4;
    const double cx = h.cx, t = h.top, e = h.eyeY, w = h.w, j = h.jaw;
    h.outline = spline(mirrored({{cx, t},
                                 {cx + w * 0.7, t + 3.8},
                                 {cx + w * 0.98, e - 12},
                                 {cx + w, e - 1},
                                 {cx + w - (w - j) * 0.25 - 0.4, e + 9},
                                 {cx + j, h.chin - 8},
                                 {cx + h.chinHalf, h.chin - 1.3},
                                 {cx, h.chin}},
                                cx),
                       true);
    return h;
}

void paintBackdrop(QPainter& p, const Face& f)
{
    const QRectF all(0, 0, kFaceWidth, kFaceHeight);
    QLinearGradient ground(0, 0, 0.4 * kFaceWidth, kFaceHeight);
    ground.setColorAt(0, f.backdrop.lighter(125));
    ground.setColorAt(1, f.backdrop.darker(220));
    p.fillRect(all, ground);
    QRadialGradient glow(QPointF(46, 44), 50);
    glow.setColorAt(0, withAlpha(f.backdrop.lighter(170), 130));
    glow.setColorAt(1, withAlpha(f.backdrop.lighter(170), 0));
    p.fillRect(all, glow);
}

void paintVignette(QPainter& p)
{
    QRadialGradient shade(QPointF(51, 52), 78);
    shade.setColorAt(0.55, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 120));
    p.fillRect(QRectF(0, 0, kFaceWidth, kFaceHeight), shade);
}

/// The upper body as far as the neckline: a V for an open shirt, a curve
/// for anything else, `dip` deep at the centre.
QPainterPath torsoPath(const Face& f, const Head& h, double dip, bool vee)
{
    const double cx = h.cx, n = h.neck + 1.5;
    const double y = f.woman ? 92.0 : 89.0, edgeY = f.woman ? 112.0 : 105.0, outer = f.woman ? 9.0 : 4.0;
    const double W = kFaceWidth, H = kFaceHeight;
    QPainterPath path(QPointF(-4, H + 2));
    path.lineTo(-4, edgeY);
    path.connectPath(spline({{-4, edgeY}, {outer, edgeY - 8}, {cx - n - 10, y + 3.5}, {cx - n, y}}, false));
    if (vee)
        path.lineTo(cx, y + dip);
    else
        path.cubicTo(QPointF(cx - n * 0.9, y + dip * 1.33), QPointF(cx + n * 0.9, y + dip * 1.33), QPointF(cx + n, y));
    path.connectPath(spline({{cx + n, y}, {cx + n + 10, y + 3.5}, {W - outer, edgeY - 8}, {W + 4, edgeY}}, false));
    path.lineTo(W + 4, H + 2);
    path.closeSubpath();
    return path;
}

/// Fills `area` with the clothing: plain or camouflaged, lit from the upper left.
void fillCloth(QPainter& p, const QPainterPath& area, const Face& f, const QBrush& camo, double light = 1.0)
{
    p.setPen(Qt::NoPen);
    p.setBrush(f.camouflaged ? camo : QBrush(f.cloth));
    p.drawPath(area);
    QLinearGradient shading(0, 80, kFaceWidth, 120);
    shading.setColorAt(0, withAlpha(QColor(255, 250, 235), static_cast<int>(40 * light)));
    shading.setColorAt(0.45, QColor(0, 0, 0, 0));
    shading.setColorAt(1, QColor(0, 0, 0, 110));
    p.setBrush(shading);
    p.drawPath(area);
}

void paintClothes(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, n = h.neck + 1.5, y = f.woman ? 92.0 : 89.0;
    const QBrush camo = f.camouflaged ? textureBrush(camouflage(QSize(kFaceWidth, kFaceHeight) * kOversize,
                                                                {f.cloth, f.cloth.lighter(135), QColor(0x4a, 0x3b, 0x28),
                                                                 QColor(0x22, 0x24, 0x1a)},
                                                                5.5 * kOversize, f.seed),
                                                     kOversize)
                                      : QBrush();
    const QColor seam = f.cloth.darker(170);

    if (f.details & Undershirt) {
        Face under = f;
        under.camouflaged = false;
        under.cloth = f.cloth.darker(160);
        fillCloth(p, torsoPath(f, h, 4.5, false), under, camo, 0.5);
    }
    switch (f.neckline) {
    case Neckline::Shirt: {
        const QPainterPath body = torsoPath(f, h, 15, true);
        fillCloth(p, body, f, camo);
        p.setPen(QPen(withAlpha(seam, 200), 0.6));
        p.drawLine(QPointF(cx + 0.6, y + 15), QPointF(cx + 0.6, kFaceHeight));
        p.setPen(Qt::NoPen);
        p.setBrush(f.cloth.darker(190));
        p.drawEllipse(QPointF(cx + 2.2, y + 22), 0.9, 0.9);
        p.drawEllipse(QPointF(cx + 2.2, y + 29), 0.9, 0.9);
        for (int s : {-1, 1}) { // the two collar points, the right one in shade
            QPainterPath flap(QPointF(cx + s * (n - 0.5), y - 3.5));
            flap.lineTo(cx + s * 0.6, y + 15);
            flap.quadTo(QPointF(cx + s * (n + 3), y + 10), QPointF(cx + s * (n + 10), y + 9.5));
            flap.quadTo(QPointF(cx + s * (n + 5), y + 3), QPointF(cx + s * (n - 0.5), y - 3.5));
            fillCloth(p, flap, f, camo, 1.4);
            if (s > 0) {
                p.setBrush(QColor(0, 0, 0, 45));
                p.drawPath(flap);
            }
            p.setPen(QPen(withAlpha(seam, 220), 0.5));
            p.setBrush(Qt::NoBrush);
            p.drawPath(flap);
            p.setPen(Qt::NoPen);
        }
        break;
    }
    case Neckline::Crew: {
        fillCloth(p, torsoPath(f, h, 5, false), f, camo);
        QPainterPath rib(QPointF(cx - n, y));
        rib.cubicTo(QPointF(cx - n * 0.9, y + 6.65), QPointF(cx + n * 0.9, y + 6.65), QPointF(cx + n, y));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(f.cloth.darker(140), 230), 2.2));
        p.drawPath(rib);
        p.setPen(QPen(withAlpha(f.cloth.lighter(130), 120), 0.5));
        p.drawPath(rib.translated(0, -1));
        break;
    }
    case Neckline::High: {
        fillCloth(p, torsoPath(f, h, 2, false), f, camo);
        QPainterPath collar(QPointF(cx - n - 2.2, y + 3));
        collar.lineTo(cx - n - 1.6, h.chin - 4);
        collar.quadTo(QPointF(cx, h.chin - 1), QPointF(cx + n + 1.6, h.chin - 4));
        collar.lineTo(cx + n + 2.2, y + 3);
        collar.quadTo(QPointF(cx, y + 7), QPointF(cx - n - 2.2, y + 3));
        fillCloth(p, collar, f, camo, 1.2);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(seam, 150), 0.6));
        p.drawLine(QPointF(cx + 0.5, h.chin - 2), QPointF(cx + 0.5, kFaceHeight)); // the zip
        QPainterPath fold(QPointF(cx - n - 1.9, h.chin + 4));
        fold.quadTo(QPointF(cx, h.chin + 8), QPointF(cx + n + 1.9, h.chin + 4));
        p.drawPath(fold);
        p.setPen(Qt::NoPen);
        break;
    }
    }
    if (f.details & Webbing) {
        const QColor strap(0x3c, 0x3a, 0x2c);
        for (int s : {-1, 1}) {
            QPainterPath path(QPointF(cx + s * (n + 6), y + 1));
            path.lineTo(cx + s * (n + 12), y + 2.8);
            path.lineTo(cx + s * (n + 10), kFaceHeight + 1);
            path.lineTo(cx + s * (n + 4), kFaceHeight + 1);
            path.closeSubpath();
            p.setBrush(strap);
            p.setPen(QPen(strap.darker(150), 0.5));
            p.drawPath(path);
            p.setBrush(QColor(0x8a, 0x84, 0x70));
            p.drawRoundedRect(QRectF(cx + s * (n + 7.2) - 3, 108, 6, 3.2), 0.8, 0.8);
        }
        p.setPen(Qt::NoPen);
    }
}

void paintNeck(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, n = h.neck;
    QPainterPath neck(QPointF(cx - n, h.chin - 16));
    neck.cubicTo(QPointF(cx - n, h.chin + 2), QPointF(cx - n - 0.5, 92), QPointF(cx - n - 3, 104));
    neck.lineTo(cx + n + 3, 104);
    neck.cubicTo(QPointF(cx + n + 0.5, 92), QPointF(cx + n, h.chin + 2), QPointF(cx + n, h.chin - 16));
    neck.closeSubpath();
    QLinearGradient g(cx - n, 0, cx + n, 0);
    g.setColorAt(0, f.skin.darker(108));
    g.setColorAt(1, f.skin.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(neck);
    p.save();
    p.setClipPath(neck);
    QRadialGradient shadow(QPointF(cx, h.chin - 1), h.jaw + 2);
    shadow.setColorAt(0, withAlpha(f.skin.darker(250), 150));
    shadow.setColorAt(1, withAlpha(f.skin.darker(250), 0));
    p.setBrush(shadow);
    p.drawEllipse(QPointF(cx, h.chin - 1), h.jaw + 2, 9);
    p.restore();
}

void paintEars(QPainter& p, const Face& f, const Head& h)
{
    for (int s : {-1, 1}) {
        const QPointF centre(h.cx + s * (h.w - 0.4), h.eyeY + 4.5);
        QRadialGradient g(centre + QPointF(-1, -1), 6);
        g.setColorAt(0, f.skin);
        g.setColorAt(1, f.skin.darker(s > 0 ? 135 : 118));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(centre, 3.2, 6.2);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(f.skin.darker(170), 150), 0.6));
        p.drawArc(QRectF(centre.x() - 2 + s * 0.6, centre.y() - 4.5, 4, 8.5), s > 0 ? -70 * 16 : 110 * 16, 140 * 16);
    }
}

void paintSkin(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, e = h.eyeY;
    QRadialGradient g(QPointF(cx - 3, e - 4), h.w * 1.6, QPointF(cx - 7, e - 10));
    g.setColorAt(0, f.skin.lighter(112));
    g.setColorAt(0.55, f.skin);
    g.setColorAt(1, f.skin.darker(135));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(h.outline);

    p.save();
    p.setClipPath(h.outline);
    const QColor shadow = f.skin.darker(190);
    QLinearGradient side(cx + h.w * 0.25, 0, cx + h.w, 0);
    side.setColorAt(0, withAlpha(shadow, 0));
    side.setColorAt(1, withAlpha(shadow, 95));
    p.fillRect(QRectF(cx, 0, h.w + 2, kFaceHeight), side);
    QLinearGradient under(0, h.mouthY, 0, h.chin);
    under.setColorAt(0, withAlpha(shadow, 0));
    under.setColorAt(1, withAlpha(shadow, 60));
    p.fillRect(QRectF(0, h.mouthY, kFaceWidth, h.chin - h.mouthY + 1), under);

    auto blot = [&p](QPointF at, double rx, double ry, const QColor& colour) {
        QRadialGradient r(at, 1);
        r.setColorAt(0, colour);
        r.setColorAt(1, withAlpha(colour, 0));
        p.save();
        p.translate(at);
        p.scale(rx, ry);
        p.translate(-at);
        p.setBrush(r);
        p.drawEllipse(at, 1, 1);
        p.restore();
    };
    for (int s : {-1, 1})
        blot(QPointF(cx + s * h.eyeGap, e - 1.5), 6.5, 4.5, withAlpha(shadow, 70)); // eye sockets
    blot(QPointF(cx - 10, e + 7), 6, 4, withAlpha(f.skin.lighter(135), 70));        // cheekbone
    blot(QPointF(cx - 3, h.top + 11), 10, 6, withAlpha(f.skin.lighter(130), 60));    // forehead
    blot(QPointF(cx, h.chin - 4), 5, 3, withAlpha(f.skin.lighter(125), 50));         // chin
    if (f.woman)
        for (int s : {-1, 1})
            blot(QPointF(cx + s * 11, e + 10), 6, 4, QColor(220, 90, 90, 42));
    p.restore();
}

void paintEyes(QPainter& p, const Face& f, const Head& h)
{
    const double e = h.eyeY;
    const QColor lid = f.skin.darker(f.woman ? 330 : 250);
    for (int s : {-1, 1}) {
        if (s < 0 && (f.details & EyePatch))
            continue;
        const double ex = h.cx + s * h.eyeGap;
        QPainterPath eye(QPointF(ex - s * 3.5, e + 0.4));
        eye.quadTo(QPointF(ex - s * 0.3, e - 2.9), QPointF(ex + s * 3.7, e - 0.2));
        eye.quadTo(QPointF(ex + s * 0.2, e + 2.4), QPointF(ex - s * 3.5, e + 0.4));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 226, 216));
        p.drawPath(eye);
        p.save();
        p.setClipPath(eye);
        QRadialGradient iris(QPointF(ex, e - 0.2), 2.0);
        iris.setColorAt(0, f.eyes.lighter(140));
        iris.setColorAt(1, f.eyes.darker(150));
        p.setBrush(iris);
        p.drawEllipse(QPointF(ex, e - 0.2), 2.0, 2.0);
        p.setBrush(QColor(12, 10, 10));
        p.drawEllipse(QPointF(ex, e - 0.2), 0.9, 0.9);
        p.setBrush(QColor(0, 0, 0, 60)); // the lid's shadow on the eyeball
        p.drawRect(QRectF(ex - 5, e - 4, 10, 2.6));
        p.restore();
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(QPointF(ex - 0.6, e - 0.9), 0.45, 0.45);

        QPainterPath upper(QPointF(ex - s * 3.6, e + 0.4));
        upper.quadTo(QPointF(ex - s * 0.3, e - 3.0), QPointF(ex + s * 3.9, e - 0.3));
        if (f.woman)
            upper.lineTo(ex + s * 4.9, e - 1.3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(lid, f.woman ? 0.95 : 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(upper);
        QPainterPath crease(QPointF(ex - s * 3.0, e - 1.6));
        crease.quadTo(QPointF(ex, e - 4.3), QPointF(ex + s * 3.6, e - 1.8));
        p.setPen(QPen(withAlpha(f.skin.darker(160), 110), 0.45));
        p.drawPath(crease);
        QPainterPath lower(QPointF(ex - s * 2.8, e + 1.3));
        lower.quadTo(QPointF(ex, e + 2.6), QPointF(ex + s * 3.4, e + 0.3));
        p.setPen(QPen(withAlpha(f.skin.darker(150), 90), 0.45));
        p.drawPath(lower);
    }
}

void paintBrows(QPainter& p, const Face& f, const Head& h)
{
    const double e = h.eyeY, t = f.brow;
    const QColor colour = withAlpha(mix(f.hair, QColor(20, 16, 12), f.hair.lightness() > 140 ? 0.35 : 0.15), 235);
    for (int s : {-1, 1}) {
        const double cx = h.cx;
        const QPointF inner(cx + s * 3.6, e - 5.2 + f.browTilt), peak(cx + s * (h.eyeGap + 1), e - 7.4 - (f.woman ? 0.8 : 0));
        const QPointF outer(cx + s * (h.eyeGap + 5.2), e - 5.2);
        QPainterPath brow(inner + QPointF(0, -t * 0.5));
        brow.quadTo(peak + QPointF(0, -t * 0.55), outer);
        brow.quadTo(peak + QPointF(0, t * 0.6), inner + QPointF(0, t * 0.5));
        brow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(brow);
    }
}

void paintNose(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, e = h.eyeY, k = f.woman ? 0.85 : 1.0;
    const QColor shadow = f.skin.darker(175);
    p.setBrush(Qt::NoBrush);
    QPainterPath ridge(QPointF(cx + 2.0, e + 4));
    ridge.quadTo(QPointF(cx + 2.2, e + 9), QPointF(cx + 3.1 * k, e + 12.5));
    p.setPen(QPen(withAlpha(shadow, 50), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(ridge);
    p.setPen(QPen(withAlpha(f.skin.lighter(135), 70), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - 0.6, e + 3), QPointF(cx - 0.8, e + 12));
    p.setPen(Qt::NoPen);
    QRadialGradient under(QPointF(cx, e + 15.6), 3.8);
    under.setColorAt(0, withAlpha(shadow, 120));
    under.setColorAt(1, withAlpha(shadow, 0));
    p.setBrush(under);
    p.drawEllipse(QPointF(cx, e + 15.6), 3.8 * k + 0.6, 1.6);
    p.setBrush(withAlpha(f.skin.lighter(125), 120));
    p.drawEllipse(QPointF(cx - 0.5, e + 13), 1.6, 1.2);
    p.setBrush(withAlpha(f.skin.darker(260), 200));
    for (int s : {-1, 1})
        p.drawEllipse(QPointF(cx + s * 1.9 * k, e + 15.0), 0.95, 0.55);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(shadow, 130), 0.5));
    for (int s : {-1, 1}) {
        QPainterPath wing(QPointF(cx + s * 2.4 * k, e + 12));
        wing.quadTo(QPointF(cx + s * 3.9 * k, e + 13.3), QPointF(cx + s * 2.6 * k, e + 15.2));
        p.drawPath(wing);
    }
}

void paintMouth(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, y = h.mouthY, m = h.mouthHalf, full = f.woman ? 1.3 : 1.0;
    const QColor tint = f.woman ? QColor(176, 64, 72) : QColor(150, 78, 70);
    const QColor upperColour = mix(f.skin, tint, f.woman ? 0.45 : 0.3).darker(118);
    const QColor lowerColour = mix(f.skin, tint, f.woman ? 0.45 : 0.28);
    QPainterPath upper(QPointF(cx - m, y + 0.2));
    upper.quadTo(QPointF(cx - m * 0.5, y - 1.3 * full), QPointF(cx - 1.3, y - 1.7 * full));
    upper.quadTo(QPointF(cx, y - 1.2 * full), QPointF(cx + 1.3, y - 1.7 * full));
    upper.quadTo(QPointF(cx + m * 0.5, y - 1.3 * full), QPointF(cx + m, y + 0.2));
    upper.quadTo(QPointF(cx, y + 0.5), QPointF(cx - m, y + 0.2));
    QPainterPath lower(QPointF(cx - m + 0.7, y + 0.3));
    lower.quadTo(QPointF(cx, y + 0.6), QPointF(cx + m - 0.7, y + 0.3));
    lower.quadTo(QPointF(cx, y + 3.0 * full + 0.4), QPointF(cx - m + 0.7, y + 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(f.skin.darker(150), 70)); // the shadow under the lower lip
    p.drawEllipse(QPointF(cx, y + 4.4 * full), m * 0.55, 1.1);
    p.setBrush(upperColour);
    p.drawPath(upper);
    p.setBrush(lowerColour);
    p.drawPath(lower);
    p.setBrush(withAlpha(QColor(255, 240, 230), 70));
    p.drawEllipse(QPointF(cx - 0.8, y + 1.6 * full), m * 0.35, 0.55);
    p.setBrush(Qt::NoBrush);
    QPainterPath line(QPointF(cx - m - 0.3, y + 0.1));
    line.quadTo(QPointF(cx, y + 0.9), QPointF(cx + m + 0.3, y + 0.1));
    p.setPen(QPen(withAlpha(f.skin.darker(260), 200), 0.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(line);
}

/// Nose-to-mouth folds for everyone; forehead lines and crow's feet for
/// an older face.
void paintLines(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, e = h.eyeY;
    const bool old = f.details & Lines;
    const QColor ink = f.skin.darker(170);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(ink, old ? 120 : (f.woman ? 25 : 55)), 0.7, Qt::SolidLine, Qt::RoundCap));
    for (int s : {-1, 1}) {
        QPainterPath fold(QPointF(cx + s * 4.2, e + 12.5));
        fold.quadTo(QPointF(cx + s * 7.6, e + 16), QPointF(cx + s * (h.mouthHalf + 1.8), h.mouthY + 1.5));
        p.drawPath(fold);
    }
    if (!old)
        return;
    p.setPen(QPen(withAlpha(ink, 100), 0.55, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double y = h.top + 12.5 + i * 2.6;
        QPainterPath line(QPointF(cx - 8 + i, y + 0.8));
        line.quadTo(QPointF(cx, y - 1.2), QPointF(cx + 8 - i, y + 0.8));
        p.drawPath(line);
    }
    for (int s : {-1, 1})
        for (int i = -1; i <= 1; ++i)
            p.drawLine(QPointF(cx + s * (h.eyeGap + 4.6), e + i * 1.4), QPointF(cx + s * (h.eyeGap + 6.8), e + i * 2.2));
    for (int s : {-1, 1}) {
        QPainterPath bag(QPointF(cx + s * (h.eyeGap - 2.5), e + 3));
        bag.quadTo(QPointF(cx + s * h.eyeGap, e + 4.6), QPointF(cx + s * (h.eyeGap + 3), e + 2.6));
        p.drawPath(bag);
    }
}

/// The lower face from sideburn to sideburn, round the mouth, `extend` below the chin.
QPainterPath beardArea(const Head& h, double extend)
{
    const double cx = h.cx, e = h.eyeY;
    return spline(mirrored({{cx, h.mouthY - 3.6},
                            {cx + 4.5, h.mouthY - 3.9},
                            {cx + 8.5, h.mouthY - 6.2},
                            {cx + h.w - 3.5, e + 7},
                            {cx + h.w - 0.6, e - 1},
                            {cx + h.w + 0.6, e + 4},
                            {cx + h.jaw + 1.2 + extend * 0.3, h.chin - 7},
                            {cx + h.chinHalf + 1.5 + extend * 0.3, h.chin + extend * 0.8},
                            {cx, h.chin + 1 + extend}},
                           cx),
                  true);
}

QPainterPath moustachePath(const Head& h, double droop)
{
    const double cx = h.cx, y = h.mouthY, m = h.mouthHalf;
    return spline(mirrored({{cx, y - 4.4},
                            {cx + 3, y - 4.1},
                            {cx + m + 0.8, y - 1.6},
                            {cx + m + 1.4, y + droop},
                            {cx + m - 0.6, y - 0.4},
                            {cx + 2.5, y - 1.6},
                            {cx, y - 1.9}},
                           cx),
                  true);
}

void paintFacialHair(QPainter& p, const Face& f, const Head& h, bool overMouth)
{
    const QColor hair = f.hair;
    QLinearGradient g(h.cx - h.w, 0, h.cx + h.w, 0);
    g.setColorAt(0, hair.lighter(118));
    g.setColorAt(1, hair.darker(150));
    p.setPen(Qt::NoPen);
    if (!overMouth) {
        switch (f.facialHair) {
        case FacialHair::Stubble:
        case FacialHair::Moustache: {
            if (f.facialHair == FacialHair::Moustache && !(f.details & Lines))
                break;
            p.save();
            p.setClipPath(h.outline);
            const QPainterPath area = beardArea(h, 0);
            p.setBrush(withAlpha(hair.darker(120), 45));
            p.drawPath(area);
            p.setBrush(textureBrush(speckle(QSize(kFaceWidth, kFaceHeight) * kOversize, withAlpha(hair.darker(140), 170),
                                            0.22, f.seed + 5u),
                                    kOversize));
            p.drawPath(area);
            p.restore();
            break;
        }
        case FacialHair::Beard: {
            const QPainterPath area = beardArea(h, 4.5);
            p.setBrush(g);
            p.drawPath(area);
            hairStrands(p, area, hair, QPointF(h.cx, h.mouthY - 4), true, f.seed, 120);
            p.setBrush(withAlpha(hair.darker(300), 150)); // the mouth's opening in the beard
            p.drawEllipse(QPointF(h.cx, h.mouthY + 0.8), h.mouthHalf + 1.2, 3.4);
            break;
        }
        case FacialHair::Goatee: {
            const QPainterPath chin = spline(mirrored({{h.cx, h.mouthY + 3.3},
                                                       {h.cx + 3.2, h.mouthY + 3.2},
                                                       {h.cx + h.mouthHalf + 0.8, h.mouthY + 0.5},
                                                       {h.cx + h.mouthHalf - 0.2, h.chin - 3},
                                                       {h.cx + 3.5, h.chin + 0.9},
                                                       {h.cx, h.chin + 1.4}},
                                                      h.cx),
                                             true);
            p.setBrush(g);
            p.drawPath(chin);
            hairStrands(p, chin, hair, QPointF(h.cx, h.mouthY), true, f.seed, 40);
            break;
        }
        case FacialHair::None:
            break;
        }
        return;
    }
    if (f.facialHair == FacialHair::Beard || f.facialHair == FacialHair::Moustache || f.facialHair == FacialHair::Goatee) {
        const QPainterPath path = moustachePath(h, f.facialHair == FacialHair::Moustache ? 2.2 : 0.8);
        p.setBrush(g);
        p.drawPath(path);
        hairStrands(p, path, hair, QPointF(h.cx, h.mouthY - 5), true, f.seed + 3u, 40);
    }
}

/// The hair over the top of the head, from sideburn to sideburn; `volume`
/// is how far it stands off the scalp, `swoop` moves the crown sideways.
QPainterPath hairCap(const Head& h, double volume, double hairline, double sideburn, double swoop = 0, bool flat = false)
{
    const double cx = h.cx, t = h.top, e = h.eyeY, w = h.w;
    std::vector<QPointF> outer = {{cx - w - 0.8, sideburn}, {cx - w - volume * 0.6, e - 10}};
    if (flat) {
        outer.insert(outer.end(), {{cx - w - 0.2, t + 1}, {cx - w * 0.6, t - volume}, {cx + w * 0.6, t - volume}, {cx + w + 0.2, t + 1}});
    } else {
        outer.insert(outer.end(), {{cx - w * 0.74 - volume * 0.8, t + 2 - volume * 0.6},
                                   {cx + swoop, t - volume},
                                   {cx + w * 0.74 + volume * 0.8, t + 2 - volume * 0.6}});
    }
    outer.insert(outer.end(), {{cx + w + volume * 0.6, e - 10}, {cx + w + 0.8, sideburn}});
    const std::vector<QPointF> inner = {{cx + w - 1.3, sideburn},
                                        {cx + w - 2.4, e - 9},
                                        {cx + w * 0.55, hairline + 1.5 - swoop * 0.2},
                                        {cx + swoop * 0.3, hairline},
                                        {cx - w * 0.55, hairline + 1.5 + swoop * 0.2},
                                        {cx - w + 2.4, e - 9},
                                        {cx - w + 1.3, sideburn}};
    return band(outer, inner);
}

QBrush hairBrush(const Face& f, const QRectF& box)
{
    QRadialGradient g(QPointF(box.left() + box.width() * 0.35, box.top() + box.height() * 0.25), box.width() * 0.75);
    g.setColorAt(0, mix(f.hair, QColor(230, 220, 200), 0.22));
    g.setColorAt(0.6, f.hair);
    g.setColorAt(1, f.hair.darker(160));
    return g;
}

void fillHair(QPainter& p, const Face& f, const QPainterPath& area, QPointF crown, bool falling, int strands = 80)
{
    p.setPen(Qt::NoPen);
    p.setBrush(hairBrush(f, area.boundingRect()));
    p.drawPath(area);
    hairStrands(p, area, f.hair, crown, falling, f.seed + static_cast<std::uint32_t>(strands), strands);
}

/// A tousled mass of small curls along an arc.
void paintCurls(QPainter& p, const Face& f, const std::vector<QPointF>& at, double radius)
{
    p.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < at.size(); ++i) {
        const double r = radius * (0.8 + 0.4 * lattice(static_cast<int>(i), 9, f.seed));
        QRadialGradient g(at[i] + QPointF(-r * 0.35, -r * 0.4), r * 1.1);
        g.setColorAt(0, mix(f.hair, QColor(210, 190, 170), 0.25));
        g.setColorAt(0.7, f.hair);
        g.setColorAt(1, f.hair.darker(180));
        p.setBrush(g);
        p.drawEllipse(at[i], r, r);
    }
}

std::vector<QPointF> curlRing(QPointF centre, double rx, double ry, double from, double to, int count)
{
    std::vector<QPointF> points;
    for (int i = 0; i < count; ++i) {
        const double a = (from + (to - from) * i / (count - 1)) * M_PI / 180;
        points.emplace_back(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a));
    }
    return points;
}

/// Hair that hangs behind the head and the neck; painted first.
void paintHairBehind(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, t = h.top, e = h.eyeY, w = h.w;
    switch (f.hairStyle) {
    case HairStyle::Long:
    case HairStyle::Wavy:
        fillHair(p, f, spline(mirrored({{cx, t - 3}, {cx + w + 4, t + 9}, {cx + w + 6.5, e + 10}, {cx + w + 8, 96},
                                        {cx + w + 9, 108}, {cx + w + 2, 110}, {cx, 104}},
                                       cx),
                              true),
                 {cx, t}, true, 60);
        break;
    case HairStyle::Bob:
        fillHair(p, f, spline(mirrored({{cx, t - 3}, {cx + w + 3.5, t + 9}, {cx + w + 5, e + 12}, {cx + w + 4, h.chin + 2},
                                        {cx + w - 2, h.chin + 3}, {cx, h.chin}},
                                       cx),
                              true),
                 {cx, t}, true, 40);
        break;
    case HairStyle::Tied:
        fillHair(p, f, spline(mirrored({{cx, t}, {cx + w + 2.5, t + 10}, {cx + w + 4.5, e + 12}, {cx + w + 6, 93},
                                        {cx + w, 97}, {cx, 92}},
                                       cx),
                              true),
                 {cx, t}, true, 50);
        break;
    case HairStyle::Curly: {
        const QPointF centre(cx, e - 6);
        p.setPen(Qt::NoPen);
        p.setBrush(f.hair.darker(140));
        p.drawEllipse(centre, w + 8, 34);
        paintCurls(p, f, curlRing(centre, w + 7, 31, -40, 220, 26), 6);
        break;
    }
    case HairStyle::Bun: {
        const QPointF at(cx + 1, t - 4);
        QPainterPath bun;
        bun.addEllipse(at, 8.5, 7);
        fillHair(p, f, bun, at, false, 30);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(f.hair.darker(170), 160), 0.5));
        for (int i = 0; i < 3; ++i)
            p.drawArc(QRectF(at.x() - 6 + i * 1.5, at.y() - 5 + i * 1.1, 12 - i * 3, 9 - i * 2.2), 20 * 16, 250 * 16);
        break;
    }
    default:
        break;
    }
}

/// A ponytail pulled forward over the shoulder: after the clothes, before the head.
void paintHairOverShoulder(QPainter& p, const Face& f, const Head& h)
{
    if (f.hairStyle != HairStyle::Ponytail)
        return;
    const double cx = h.cx, e = h.eyeY, w = h.w;
    const QPainterPath tail = spline({{cx + w - 4, e - 10}, {cx + w + 4, e + 2}, {cx + w + 6.5, e + 24}, {cx + w + 9, 100},
                                      {cx + w + 5, 114}, {cx + w + 3.5, 100}, {cx + w + 1, e + 26}, {cx + w - 3, e + 8}},
                                     true);
    fillHair(p, f, tail, {cx + w, e - 8}, true, 40);
}

/// Hair in front: over the forehead and down beside the face.
void paintHairFront(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, t = h.top, e = h.eyeY, w = h.w;
    const QPointF crown(cx, t - 6);
    auto curtains = [&](double bottom, double flare, double wave) {
        for (int s : {-1, 1}) {
            const QPainterPath side = spline({{cx + s * 1, t + 4},
                                              {cx + s * (w + 3), t + 9},
                                              {cx + s * (w + 4.5 + wave), e - 4},
                                              {cx + s * (w + 4.5 - wave), e + 6},
                                              {cx + s * (w + 4.5 + wave + flare * 0.2), e + 18},
                                              {cx + s * (w + 4.5 - wave + flare * 0.4), bottom - 10},
                                              {cx + s * (w + 3 + flare), bottom},
                                              {cx + s * (w + 0.5), bottom - 4},
                                              {cx + s * (w - 1.4), e + 12},
                                              {cx + s * (w - 2.2), e - 5},
                                              {cx + s * w * 0.45, t + 11.5}},
                                             true);
            fillHair(p, f, side, {cx + s * 2, t}, true, 50);
        }
    };
    switch (f.hairStyle) {
    case HairStyle::Crew:
        fillHair(p, f, hairCap(h, 1.8, t + 12.5, e - 1), crown, false);
        break;
    case HairStyle::Buzzed: {
        p.save();
        p.setClipPath(h.outline);
        const QPainterPath cap = hairCap(h, 0.5, t + 12.5, e - 2);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(f.hair, 110));
        p.drawPath(cap);
        p.setBrush(textureBrush(speckle(QSize(kFaceWidth, kFaceHeight) * kOversize, withAlpha(f.hair, 200), 0.3, f.seed),
                                kOversize));
        p.drawPath(cap);
        QRadialGradient shine(QPointF(cx - 6, t + 5), 9);
        shine.setColorAt(0, withAlpha(f.skin.lighter(150), 120));
        shine.setColorAt(1, withAlpha(f.skin.lighter(150), 0));
        p.setBrush(shine);
        p.drawEllipse(QPointF(cx - 6, t + 5), 9, 6);
        p.restore();
        break;
    }
    case HairStyle::Messy: {
        QPainterPath hair = hairCap(h, 3.2, t + 12, e - 2);
        for (int i = 0; i < 9; ++i) { // tufts standing up and falling onto the forehead
            const double a = M_PI * (0.1 + 0.8 * i / 8.0);
            const QPointF base(cx - std::cos(a) * (w + 1), t + 3 - std::sin(a) * 5);
            const QPointF tip = base + QPointF(-std::cos(a) * 3 + 1.5, -std::sin(a) * 4.5);
            QPainterPath tuft(base + QPointF(-2.6, 1.5));
            tuft.quadTo(tip + QPointF(-1, 1), tip);
            tuft.quadTo(tip + QPointF(1, 2), base + QPointF(2.6, 1.5));
            tuft.closeSubpath();
            hair = hair.united(tuft);
        }
        for (int i = 0; i < 5; ++i) {
            const double x = cx - 11 + i * 5.2;
            QPainterPath lock(QPointF(x - 3, t + 10));
            lock.quadTo(QPointF(x, t + 13), QPointF(x + 2.2, t + 16.5 - (i % 2) * 2));
            lock.quadTo(QPointF(x + 1.8, t + 12), QPointF(x + 3.5, t + 10));
            lock.closeSubpath();
            hair = hair.united(lock);
        }
        fillHair(p, f, hair, crown, false, 100);
        break;
    }
    case HairStyle::SidePart:
    case HairStyle::Pixie: {
        const double s = f.hairStyle == HairStyle::Pixie ? -1 : 1; // the side the fringe falls to
        const double reach = f.hairStyle == HairStyle::Pixie ? e - 7 : e - 13;
        QPainterPath hair = hairCap(h, 3.0, t + 12.5, f.hairStyle == HairStyle::Pixie ? e + 2 : e - 1, s * 3);
        QPainterPath fringe(QPointF(cx - s * 6, t + 1));
        fringe.cubicTo(QPointF(cx + s * 4, t - 1), QPointF(cx + s * (w + 2), t + 5), QPointF(cx + s * (w + 0.5), reach));
        fringe.cubicTo(QPointF(cx + s * (w - 6), t + 15), QPointF(cx + s * 2, t + 12), QPointF(cx - s * 5, t + 10));
        fringe.closeSubpath();
        hair = hair.united(fringe);
        fillHair(p, f, hair, QPointF(cx - s * 6, t), false, 90);
        p.setPen(QPen(withAlpha(f.hair.darker(200), 170), 0.6));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(cx - s * 6.5, t - 2), QPointF(cx - s * 7.5, t + 6)); // the parting
        break;
    }
    case HairStyle::Bald: {
        p.save();
        p.setClipPath(h.outline);
        p.setPen(Qt::NoPen);
        QRadialGradient shine(QPointF(cx - 6, t + 6), 10);
        shine.setColorAt(0, withAlpha(f.skin.lighter(160), 170));
        shine.setColorAt(1, withAlpha(f.skin.lighter(160), 0));
        p.setBrush(shine);
        p.drawEllipse(QPointF(cx - 6, t + 6), 11, 7);
        p.setBrush(textureBrush(speckle(QSize(kFaceWidth, kFaceHeight) * kOversize, withAlpha(f.hair, 150), 0.2, f.seed),
                                kOversize));
        QPainterPath sides; // what is left of the hair, over the ears
        sides.addRect(QRectF(0, t + 14, cx - w + 4, 40));
        sides.addRect(QRectF(cx + w - 4, t + 14, 40, 40));
        p.drawPath(hairCap(h, 0.5, e - 12, e - 2).intersected(sides));
        p.restore();
        break;
    }
    case HairStyle::Long:
        fillHair(p, f, hairCap(h, 3, t + 11.5, e - 3), crown, false, 60);
        curtains(100, 4, 0);
        break;
    case HairStyle::Wavy: {
        curtains(104, 7, 1.6);
        QPainterPath hair = hairCap(h, 3.5, t + 11.5, e - 3, 4);
        QPainterPath sweep(QPointF(cx - 7, t));
        sweep.cubicTo(QPointF(cx + 6, t - 1), QPointF(cx + w + 3, t + 6), QPointF(cx + w + 1, e - 4));
        sweep.cubicTo(QPointF(cx + w - 5, t + 16), QPointF(cx + 2, t + 13), QPointF(cx - 6, t + 10));
        sweep.closeSubpath();
        fillHair(p, f, hair.united(sweep), QPointF(cx - 7, t), false, 80);
        p.setPen(QPen(withAlpha(f.hair.darker(200), 170), 0.6));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(cx - 7.5, t - 2), QPointF(cx - 8.5, t + 6));
        break;
    }
    case HairStyle::Bob: {
        QPainterPath hair = hairCap(h, 3.5, e - 9.5, e - 3);
        fillHair(p, f, hair, crown, false, 60);
        curtains(h.chin + 2, 1, 0);
        QPainterPath fringe = spline({{cx - w + 1, t + 8}, {cx, t + 4}, {cx + w - 1, t + 8}, {cx + w - 2, e - 10},
                                      {cx + 4, e - 9.2}, {cx - 4, e - 9.2}, {cx - w + 2, e - 10}},
                                     true);
        fillHair(p, f, fringe, crown + QPointF(0, 10), true, 50);
        break;
    }
    case HairStyle::Ponytail:
        fillHair(p, f, hairCap(h, 1.6, t + 11.5, e - 4), QPointF(cx, t - 12), false, 70);
        break;
    case HairStyle::Bun:
        fillHair(p, f, hairCap(h, 1.6, t + 12, e - 4), QPointF(cx + 1, t - 8), false, 70);
        break;
    case HairStyle::Curly: {
        const QPointF centre(cx, e - 6);
        paintCurls(p, f, curlRing(centre, w + 5, 29, -25, 205, 24), 5);
        paintCurls(p, f, curlRing(QPointF(cx, t + 19), w - 2, 10, 20, 160, 9), 3.6);
        break;
    }
    case HairStyle::Tied:
        fillHair(p, f, hairCap(h, 2.4, t + 12, e + 2), crown, false, 70);
        break;
    }
}

void paintHeadwear(QPainter& p, const Face& f, const Head& h)
{
    const double cx = h.cx, t = h.top, w = h.w;
    if (f.headwear == Headwear::None)
        return;
    // The hat's shadow on the forehead.
    p.save();
    p.setClipPath(h.outline);
    QLinearGradient shade(0, t + 9, 0, t + (f.headwear == Headwear::Cap ? 26 : 19));
    shade.setColorAt(0, withAlpha(f.skin.darker(300), 150));
    shade.setColorAt(1, withAlpha(f.skin.darker(300), 0));
    p.fillRect(QRectF(0, t + 9, kFaceWidth, 20), shade);
    p.restore();

    QRadialGradient cloth(QPointF(cx - 8, t - 4), w * 1.6);
    cloth.setColorAt(0, f.hat.lighter(150));
    cloth.setColorAt(0.5, f.hat);
    cloth.setColorAt(1, f.hat.darker(170));
    const QPen edge(f.hat.darker(220), 0.5);
    switch (f.headwear) {
    case Headwear::Beret: {
        const QPainterPath beret = spline({{cx + w + 1.8, t + 9.5}, {cx + w - 1, t + 1}, {cx + 5, t - 4.5}, {cx - 8, t - 6},
                                           {cx - w - 6, t - 2}, {cx - w - 9.5, t + 4.5}, {cx - w - 4.5, t + 9.5},
                                           {cx - w - 1.2, t + 12.5}, {cx, t + 11}},
                                          true);
        p.setPen(edge);
        p.setBrush(cloth);
        p.drawPath(beret);
        QPainterPath rim(QPointF(cx - w - 1.6, t + 12.3));
        rim.quadTo(QPointF(cx, t + 9.6), QPointF(cx + w + 1.8, t + 9.3));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x2a, 0x20, 0x18), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(rim);
        const QPointF badge(cx + 8.5, t + 4.2);
        QPainterPath shield(badge + QPointF(-2.2, -2.6));
        shield.lineTo(badge + QPointF(2.2, -2.6));
        shield.lineTo(badge + QPointF(2.2, 0.3));
        shield.quadTo(badge + QPointF(1.8, 2.4), badge + QPointF(0, 3.2));
        shield.quadTo(badge + QPointF(-1.8, 2.4), badge + QPointF(-2.2, 0.3));
        shield.closeSubpath();
        QLinearGradient metal(badge + QPointF(-2, -2), badge + QPointF(2, 3));
        metal.setColorAt(0, QColor(250, 230, 150));
        metal.setColorAt(1, QColor(150, 110, 40));
        p.setPen(QPen(QColor(90, 64, 24), 0.4));
        p.setBrush(metal);
        p.drawPath(shield);
        break;
    }
    case Headwear::Cap: {
        const bool round = f.woman;
        const QPainterPath crown = spline(mirrored({{cx, t - (round ? 5.5 : 6.5)},
                                                    {cx + w * 0.8, t - (round ? 3 : 5.8)},
                                                    {cx + w + 1.8, t + 3},
                                                    {cx + w + 2, t + 12},
                                                    {cx + w * 0.5, t + 13},
                                                    {cx, t + 13.5}},
                                                   cx),
                                          true);
        p.setPen(edge);
        p.setBrush(cloth);
        p.drawPath(crown);
        p.setPen(QPen(withAlpha(f.hat.darker(200), 140), 0.4));
        p.drawLine(QPointF(cx, t - 5), QPointF(cx, t + 12));
        QPainterPath visor(QPointF(cx - w + 0.5, t + 12));
        visor.quadTo(QPointF(cx, t + 10.5), QPointF(cx + w - 0.5, t + 12));
        visor.quadTo(QPointF(cx + 3, t + 20), QPointF(cx, t + 20));
        visor.quadTo(QPointF(cx - 3, t + 20), QPointF(cx - w + 0.5, t + 12));
        QLinearGradient peak(0, t + 11, 0, t + 20);
        peak.setColorAt(0, f.hat.darker(110));
        peak.setColorAt(1, f.hat.darker(190));
        p.setPen(edge);
        p.setBrush(peak);
        p.drawPath(visor);
        p.setPen(QPen(withAlpha(f.hat.lighter(140), 120), 0.4));
        p.drawLine(QPointF(cx - 2.5, t + 2), QPointF(cx + 2.5, t + 2));
        break;
    }
    case Headwear::Bandana: {
        const QPainterPath scarf = spline(mirrored({{cx, t - 3.5},
                                                    {cx + w * 0.8, t - 1.5},
                                                    {cx + w + 2, t + 7},
                                                    {cx + w + 1.6, t + 13},
                                                    {cx + w * 0.5, t + 12.5},
                                                    {cx, t + 12.2}},
                                                   cx),
                                          true);
        QPainterPath tails(QPointF(cx + w, t + 9));
        tails.cubicTo(QPointF(cx + w + 6, t + 12), QPointF(cx + w + 8, t + 20), QPointF(cx + w + 9, t + 26));
        tails.lineTo(cx + w + 5.5, t + 25);
        tails.cubicTo(QPointF(cx + w + 5, t + 19), QPointF(cx + w + 2, t + 16), QPointF(cx + w, t + 13));
        tails.closeSubpath();
        p.setPen(edge);
        p.setBrush(QBrush(f.hat.darker(130)));
        p.drawPath(tails);
        p.setBrush(cloth);
        p.drawPath(scarf);
        p.save(); // a printed pattern of small rings
        p.setClipPath(scarf);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(QColor(235, 225, 205), 110), 0.45));
        for (int i = 0; i < 40; ++i) {
            const QPointF at(cx - w - 2 + lattice(i, 1, f.seed) * (2 * w + 4), t - 4 + lattice(i, 2, f.seed) * 17);
            p.drawEllipse(at, 0.9, 0.9);
        }
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(f.hat.darker(200), 150), 0.5));
        QPainterPath fold(QPointF(cx - w, t + 9));
        fold.quadTo(QPointF(cx, t + 7), QPointF(cx + w, t + 9));
        p.drawPath(fold);
        p.setPen(edge);
        p.setBrush(f.hat);
        p.drawEllipse(QPointF(cx + w + 0.8, t + 10.5), 2.2, 2.6); // the knot
        break;
    }
    case Headwear::None:
        break;
    }
}

void paintMarks(QPainter& p, const Face& f, const Head& h, bool overFeatures)
{
    const double cx = h.cx, e = h.eyeY, t = h.top;
    if (!overFeatures) {
        if (f.details & FacePaint) {
            p.save();
            p.setClipPath(h.outline);
            const QColor dark(0x24, 0x2c, 0x1c, 225), green(0x4c, 0x5c, 0x30, 200);
            p.setPen(QPen(dark, 3.2, Qt::SolidLine, Qt::RoundCap));
            for (int s : {-1, 1}) {
                p.drawLine(QPointF(cx + s * (h.w + 2), e + 2.5), QPointF(cx + s * 5, e + 6.5));
                p.drawLine(QPointF(cx + s * (h.w + 1), e + 10), QPointF(cx + s * 7, e + 12.5));
            }
            p.setPen(QPen(green, 3.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(cx - 12, t + 15), QPointF(cx + 10, t + 18.5));
            p.setPen(QPen(dark, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(cx - 3, h.chin - 5), QPointF(cx + 4, h.chin - 3));
            p.restore();
        }
        if (f.details & Freckles) {
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(mix(f.skin, QColor(160, 90, 50), 0.5), 110));
            for (int i = 0; i < 46; ++i) {
                const double a = lattice(i, 4, f.seed) * 2 * M_PI, r = std::sqrt(lattice(i, 5, f.seed));
                const QPointF at(cx + std::cos(a) * r * 15, e + 8 + std::sin(a) * r * 4.5);
                if (std::abs(at.x() - cx) < 1.5 && at.y() > e + 12)
                    continue;
                const double size = 0.3 + 0.2 * lattice(i, 6, f.seed);
                p.drawEllipse(at, size, size);
            }
        }
        return;
    }
    const QColor scar = mix(f.skin.lighter(120), QColor(220, 150, 150), 0.3);
    if (f.details & BrowScar) {
        p.setPen(QPen(withAlpha(f.skin.darker(200), 120), 1.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx + 8.5, e - 12), QPointF(cx + 12.5, e - 2.5));
        p.setPen(QPen(scar, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx + 8.5, e - 12), QPointF(cx + 12.5, e - 2.5));
    }
    if (f.details & CheekScar) {
        QPainterPath cut(QPointF(cx - 16, e + 3));
        cut.quadTo(QPointF(cx - 13, e + 10), QPointF(cx - 7, e + 14.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(f.skin.darker(200), 120), 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cut);
        p.setPen(QPen(scar, 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cut);
        p.setPen(QPen(withAlpha(f.skin.darker(190), 150), 0.4));
        for (double u : {0.25, 0.5, 0.75}) { // old stitch marks across it
            const QPointF at = cut.pointAtPercent(u);
            const double a = (cut.angleAtPercent(u) + 90) * M_PI / 180;
            const QPointF d(std::cos(a) * 1.4, -std::sin(a) * 1.4);
            p.drawLine(at - d, at + d);
        }
    }
    if (f.details & EyePatch) {
        const QPointF at(cx - h.eyeGap, e + 0.3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x1c, 0x1a, 0x18), 1.1));
        p.drawLine(at, QPointF(cx - h.w - 1, e - 3.5));
        p.drawLine(at, QPointF(cx + h.w * 0.75, t + 3));
        QRadialGradient leather(at + QPointF(-1.5, -1.5), 6);
        leather.setColorAt(0, QColor(0x4a, 0x46, 0x42));
        leather.setColorAt(1, QColor(0x10, 0x10, 0x10));
        p.setPen(QPen(QColor(0x08, 0x08, 0x08), 0.4));
        p.setBrush(leather);
        p.drawPath(spline({at + QPointF(-5, -2.5), at + QPointF(0, -4.2), at + QPointF(5, -2.2), at + QPointF(3.5, 3.2),
                           at + QPointF(-2.5, 3.8)},
                          true));
    }
    if (f.details & (Studs | Hoops)) {
        const bool silver = f.details & Silver;
        const QColor metal = silver ? QColor(0xd8, 0xdc, 0xe0) : QColor(0xe8, 0xc0, 0x50);
        const QColor deep = silver ? QColor(0x70, 0x74, 0x7a) : QColor(0x8a, 0x60, 0x18);
        for (int s : {-1, 1}) {
            const QPointF lobe(cx + s * (h.w - 0.2), e + 9.8);
            if (f.details & Hoops) {
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(deep, 1.1));
                p.drawEllipse(lobe + QPointF(0, 3.3), 2.4, 3.3);
                p.setPen(QPen(metal, 0.6));
                p.drawEllipse(lobe + QPointF(-0.15, 3.1), 2.4, 3.3);
            } else {
                p.setPen(QPen(deep, 0.3));
                p.setBrush(metal);
                p.drawEllipse(lobe, 1.0, 1.0);
            }
        }
    }
}

QImage paintFace(const Face& f)
{
    QImage big(kFaceWidth * kOversize, kFaceHeight * kOversize, QImage::Format_RGB32);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(kOversize, kOversize);
    const Head h = headOf(f);

    paintBackdrop(p, f);
    paintHairBehind(p, f, h);
    paintNeck(p, f, h);
    paintClothes(p, f, h);
    paintHairOverShoulder(p, f, h);
    paintEars(p, f, h);
    paintSkin(p, f, h);
    paintMarks(p, f, h, false);
    paintLines(p, f, h);
    paintFacialHair(p, f, h, false);
    paintNose(p, f, h);
    paintMouth(p, f, h);
    paintFacialHair(p, f, h, true);
    paintEyes(p, f, h);
    paintBrows(p, f, h);
    paintHairFront(p, f, h);
    paintHeadwear(p, f, h);
    paintMarks(p, f, h, true);
    paintVignette(p);
    p.end();
    return big.scaled(kFaceWidth, kFaceHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Skin from pale to dark, and hair.
const QColor kPale(244, 214, 196), kFair(234, 194, 166), kLight(222, 178, 142), kOlive(200, 154, 112),
    kTan(178, 128, 90), kBrown(148, 98, 66), kDark(110, 72, 50), kDeep(80, 53, 38);
const QColor kBlack(30, 26, 24), kDarkBrown(60, 40, 28), kBrownHair(104, 70, 42), kGinger(176, 88, 42),
    kBlond(214, 178, 110), kAsh(168, 150, 116), kGrey(152, 150, 144), kAuburn(124, 52, 32);
// Clothing and backdrops.
const QColor kOliveCloth(0x5e, 0x64, 0x3c), kBlackCloth(0x2a, 0x2a, 0x2a), kTanCloth(0xa8, 0x90, 0x64),
    kBlueCloth(0x3c, 0x54, 0x7a), kCamoCloth(0x6a, 0x70, 0x48);
const QColor kSlate(0x3a, 0x46, 0x58), kTeal(0x28, 0x4c, 0x4e), kMaroon(0x58, 0x30, 0x32), kMoss(0x42, 0x4a, 0x30),
    kUmber(0x4c, 0x42, 0x38), kDusk(0x42, 0x3a, 0x52), kSpruce(0x30, 0x40, 0x3a);

const std::vector<Face>& faces()
{
    using H = HairStyle;
    using W = Headwear;
    using B = FacialHair;
    using N = Neckline;
    const QColor none;
    static const std::vector<Face> all = {
        // men
        {false, kFair, kBrownHair, QColor(80, 110, 140), H::SidePart, 22, 18, 81, 2.0, 0.6, B::Beard, W::None, none,
         N::Shirt, kOliveCloth, false, Undershirt, kSlate, 11},
        {false, kDeep, kBlack, QColor(60, 36, 22), H::Buzzed, 21.5, 16.5, 80, 1.6, 0.2, B::Goatee, W::None, none, N::Crew,
         kBlackCloth, false, BrowScar, kTeal, 12},
        {false, kPale, kGinger, QColor(80, 120, 70), H::Messy, 19.5, 14, 79, 1.3, -0.3, B::Stubble, W::None, none, N::Shirt,
         kTanCloth, false, Freckles, kMaroon, 13},
        {false, kOlive, kBlack, QColor(70, 44, 26), H::Crew, 20.5, 15.5, 81.5, 1.7, 0.8, B::Moustache, W::Beret,
         QColor(0x7a, 0x22, 0x28), N::Shirt, kCamoCloth, true, 0, kMoss, 14},
        {false, kLight, kGrey, QColor(110, 118, 120), H::Crew, 21.5, 17, 80.5, 1.8, 0.4, B::Stubble, W::None, none, N::High,
         kBlackCloth, false, EyePatch | Lines, kUmber, 15},
        {false, kFair, kAsh, QColor(70, 110, 150), H::Crew, 21, 16.5, 80, 1.5, 0.5, B::None, W::Cap, QColor(0x5a, 0x60, 0x38),
         N::Crew, kOliveCloth, false, FacePaint | Webbing, kSpruce, 16},
        {false, kBrown, kBlack, QColor(50, 30, 18), H::Tied, 20.5, 15.5, 80.5, 1.8, 0.5, B::Beard, W::Bandana,
         QColor(0x8a, 0x3a, 0x26), N::Shirt, kBlueCloth, false, 0, kDusk, 17},
        {false, kTan, kDarkBrown, QColor(60, 40, 24), H::Bald, 21, 17.5, 81, 2.1, 1.0, B::Moustache, W::None, none,
         N::High, kTanCloth, false, CheekScar, kSlate, 18},
        // women
        {true, kFair, kBlond, QColor(70, 120, 170), H::Long, 19.5, 13.5, 78, 1.1, -0.2, B::None, W::None, none, N::Shirt,
         kOliveCloth, false, 0, kSlate, 21},
        {true, kDark, kBlack, QColor(60, 34, 20), H::Curly, 20, 14, 78.5, 1.2, 0, B::None, W::None, none, N::Crew,
         kTanCloth, false, Hoops, kTeal, 22},
        {true, kPale, kAuburn, QColor(70, 120, 80), H::Bun, 19, 13, 78, 1.0, -0.3, B::None, W::None, none, N::High,
         kBlackCloth, false, Freckles | Studs | Silver, kMaroon, 23},
        {true, kOlive, kBlack, QColor(80, 50, 28), H::Ponytail, 19.5, 14, 78.5, 1.2, 0.2, B::None, W::Cap,
         QColor(0x5e, 0x60, 0x3a), N::Shirt, kCamoCloth, true, Studs, kMoss, 24},
        {true, kBrown, kDarkBrown, QColor(70, 44, 24), H::Pixie, 19.5, 13.5, 78, 1.1, 0.1, B::None, W::None, none, N::Crew,
         kBlueCloth, false, CheekScar | Hoops | Silver, kDusk, 25},
        {true, kLight, kBrownHair, QColor(90, 70, 40), H::Bob, 20, 14.5, 79, 1.2, -0.1, B::None, W::Beret,
         QColor(0x26, 0x34, 0x26), N::Shirt, kBlackCloth, false, 0, kUmber, 26},
        {true, kTan, kDarkBrown, QColor(50, 32, 20), H::Wavy, 19, 13, 78, 1.3, 0.3, B::None, W::None, none, N::Crew,
         kTanCloth, false, Webbing, kSpruce, 27},
        {true, kDeep, kBlack, QColor(50, 30, 18), H::Crew, 20, 14, 78.5, 1.1, 0, B::None, W::Bandana,
         QColor(0x2c, 0x48, 0x5a), N::Shirt, kCamoCloth, true, Hoops, kSlate, 28},
    };
    return all;
}

// ---- the frame behind the chosen face ----

QImage paintHighlight()
{
    QImage image(108, 126, QImage::Format_RGB32);
    image.fill(QColor(240, 200, 40));
    return image;
}

// ---- the soldier, on a key colour the window makes transparent ----

constexpr QRgb kKey = 0xffff00ff; // magenta
constexpr int kSoldierWidth = 90, kSoldierHeight = 126;

void paintSoldierFigure(QPainter& p)
{
    const double cx = 45;
    const QImage pattern = camouflage(QSize(kSoldierWidth, kSoldierHeight) * kOversize,
                                      {QColor(0x6a, 0x6c, 0x46), QColor(0x8a, 0x86, 0x5c), QColor(0x4c, 0x3e, 0x2a),
                                       QColor(0x2c, 0x30, 0x22)},
                                      4.0 * kOversize, 99u);
    const QBrush camo = textureBrush(pattern, kOversize);
    const QColor ink(0x1c, 0x1e, 0x16);
    const QPen line(ink, 0.7);
    auto shaded = [&p](const QPainterPath& path, const QBrush& base, int darkness = 90) {
        p.setBrush(base);
        p.drawPath(path);
        QLinearGradient g(path.boundingRect().topLeft(), path.boundingRect().topRight());
        g.setColorAt(0, QColor(255, 250, 230, 40));
        g.setColorAt(0.5, QColor(0, 0, 0, 0));
        g.setColorAt(1, QColor(0, 0, 0, darkness));
        p.setBrush(g);
        p.drawPath(path);
    };
    p.setPen(line);

    // Legs, boots.
    for (int s : {-1, 1}) {
        QPainterPath leg(QPointF(cx + s * 1.5, 70));
        leg.lineTo(cx + s * 14, 70);
        leg.cubicTo(QPointF(cx + s * 15, 88), QPointF(cx + s * 14, 100), QPointF(cx + s * 13, 112));
        leg.lineTo(cx + s * 3.2, 112);
        leg.cubicTo(QPointF(cx + s * 2.8, 100), QPointF(cx + s * 2.4, 88), QPointF(cx + s * 2.2, 78));
        leg.closeSubpath();
        shaded(leg, camo);
        p.setBrush(QColor(0x2e, 0x2e, 0x2a)); // knee pad
        p.drawRoundedRect(QRectF(cx + s * 8.3 - 4.6, 88, 9.2, 7), 2, 2);
        QPainterPath boot(QPointF(cx + s * 3, 110));
        boot.lineTo(cx + s * 13.3, 110);
        boot.lineTo(cx + s * 13.8, 118);
        boot.quadTo(QPointF(cx + s * 15, 119), QPointF(cx + s * 15, 121.5));
        boot.lineTo(cx + s * 2.2, 121.5);
        boot.closeSubpath();
        shaded(boot, QColor(0x3a, 0x30, 0x26));
        p.setBrush(QColor(0x16, 0x14, 0x12));
        p.drawRect(QRectF(s < 0 ? cx - 15 : cx + 2.2, 121.5, 12.8, 2));
    }
    p.setBrush(QColor(0x4e, 0x44, 0x32)); // belt
    p.drawRect(QRectF(cx - 15, 66, 30, 5));
    p.setBrush(QColor(0x9a, 0x92, 0x78));
    p.drawRect(QRectF(cx - 2.5, 66.5, 5, 4));

    // Arms behind the rifle: upper arms and forearms.
    for (int s : {-1, 1}) {
        QPainterPath arm(QPointF(cx + s * 14, 34));
        arm.cubicTo(QPointF(cx + s * 22, 34), QPointF(cx + s * 24, 42), QPointF(cx + s * 24, 58));
        arm.lineTo(cx + s * 16.5, 60);
        arm.lineTo(cx + s * 15, 42);
        arm.closeSubpath();
        shaded(arm, camo);
    }
    QPainterPath leftForearm(QPointF(cx - 24, 56));
    leftForearm.lineTo(cx - 12, 46);
    leftForearm.lineTo(cx - 7, 52);
    leftForearm.lineTo(cx - 17.5, 61);
    leftForearm.closeSubpath();
    QPainterPath rightForearm(QPointF(cx + 24, 56));
    rightForearm.lineTo(cx + 13, 64);
    rightForearm.lineTo(cx + 8, 59);
    rightForearm.lineTo(cx + 16.5, 60);
    rightForearm.closeSubpath();

    // Neck, vest with pouches.
    p.setBrush(QColor(0xb0, 0x80, 0x5a));
    p.drawRect(QRectF(cx - 4, 28, 8, 8));
    QPainterPath vest(QPointF(cx - 15, 34));
    vest.lineTo(cx - 5, 33);
    vest.quadTo(QPointF(cx, 37), QPointF(cx + 5, 33));
    vest.lineTo(cx + 15, 34);
    vest.lineTo(cx + 15.5, 67);
    vest.lineTo(cx - 15.5, 67);
    vest.closeSubpath();
    shaded(vest, QColor(0x8e, 0x7a, 0x58), 110);
    p.setBrush(QColor(0x76, 0x64, 0x46));
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(cx - 13.5 + i * 9.3, 55, 8.4, 11), 1.2, 1.2);
    p.setBrush(QColor(0x6a, 0x5a, 0x40));
    p.drawRoundedRect(QRectF(cx - 12, 40, 9, 6), 1, 1);
    p.drawRoundedRect(QRectF(cx + 3, 40, 9, 6), 1, 1);
    p.setPen(QPen(withAlpha(ink, 160), 0.5));
    p.drawLine(QPointF(cx - 15, 50), QPointF(cx + 15, 50));
    p.setPen(line);

    // The rifle across the body: stock at the right hip, muzzle by the left shoulder.
    const QPointF butt(cx + 20, 72), muzzle(cx - 27, 27);
    const QPointF along = (muzzle - butt) / std::hypot(muzzle.x() - butt.x(), muzzle.y() - butt.y());
    const QPointF across(-along.y(), along.x());
    auto bar = [&](double from, double to, double below, double above) {
        QPainterPath path(butt + along * from + across * above);
        path.lineTo(butt + along * to + across * above);
        path.lineTo(butt + along * to - across * below);
        path.lineTo(butt + along * from - across * below);
        path.closeSubpath();
        return path;
    };
    const QColor gun(0x26, 0x28, 0x26), metal(0x3e, 0x42, 0x40);
    shaded(bar(0, 15, 3.2, 2.4), gun);                             // stock
    shaded(bar(14, 38, 3.4, 2.6), metal);                          // receiver
    p.setBrush(gun);
    p.drawPath(bar(22, 27, 9, 0));                                 // magazine
    p.drawPath(bar(16, 19, 6, 0));                                 // grip
    shaded(bar(37, 55, 2.4, 2.4), QColor(0x36, 0x38, 0x34));       // handguard
    p.setBrush(gun);
    p.drawPath(bar(54, 66, 0.9, 0.9));                             // barrel
    p.drawPath(bar(26, 33, -2.6, 5.2));                            // sight

    // Forearms and hands over the rifle.
    shaded(leftForearm, camo);
    shaded(rightForearm, camo);
    const QColor glove(0x3a, 0x34, 0x2a);
    p.setBrush(glove);
    p.drawEllipse(butt + along * 45 - across * 0.5, 3.6, 3.6);
    p.drawEllipse(butt + along * 17 - across * 2.5, 3.6, 3.6);

    // Head: face, ears, chin strap, helmet with a cover and goggles.
    p.setBrush(QColor(0xc0, 0x8e, 0x66));
    p.drawEllipse(QPointF(cx - 8.2, 21), 1.8, 3);
    p.drawEllipse(QPointF(cx + 8.2, 21), 1.8, 3);
    QRadialGradient skin(QPointF(cx - 2, 18), 11);
    skin.setColorAt(0, QColor(0xd2, 0xa0, 0x78));
    skin.setColorAt(1, QColor(0xa0, 0x70, 0x4e));
    p.setBrush(skin);
    p.drawPath(spline(mirrored({{cx, 11}, {cx + 7.5, 15}, {cx + 7.2, 24}, {cx + 4.5, 29.5}, {cx, 31}}, cx), true));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x18, 0x12));
    p.drawEllipse(QPointF(cx - 3, 20.5), 1.0, 0.8);
    p.drawEllipse(QPointF(cx + 3, 20.5), 1.0, 0.8);
    p.setBrush(QColor(0x6a, 0x44, 0x30, 200));
    p.drawRect(QRectF(cx - 2.4, 27, 4.8, 0.8));
    p.setBrush(QColor(0x80, 0x58, 0x3c, 170));
    p.drawRect(QRectF(cx + 0.2, 21.5, 1.1, 3.8));
    p.setPen(QPen(QColor(0x2a, 0x26, 0x1e), 0.9));
    p.setBrush(Qt::NoBrush);
    QPainterPath strap(QPointF(cx - 7.5, 17));
    strap.quadTo(QPointF(cx - 6.5, 30.5), QPointF(cx, 30.5));
    strap.quadTo(QPointF(cx + 6.5, 30.5), QPointF(cx + 7.5, 17));
    p.drawPath(strap);
    p.setPen(line);
    QPainterPath helmet(QPointF(cx - 11.5, 18));
    helmet.cubicTo(QPointF(cx - 12.5, 2), QPointF(cx + 12.5, 2), QPointF(cx + 11.5, 18));
    helmet.quadTo(QPointF(cx + 8, 16), QPointF(cx, 15.5));
    helmet.quadTo(QPointF(cx - 8, 16), QPointF(cx - 11.5, 18));
    shaded(helmet, camo, 120);
    p.setBrush(QColor(0x30, 0x32, 0x2c));
    p.drawRoundedRect(QRectF(cx - 8, 8.5, 16, 3.6), 1.5, 1.5);
    p.setBrush(QColor(0x5c, 0x7a, 0x78));
    p.drawRoundedRect(QRectF(cx - 6.5, 9.1, 5.5, 2.4), 1, 1);
    p.drawRoundedRect(QRectF(cx + 1, 9.1, 5.5, 2.4), 1, 1);
}

/// The figure is painted oversize with antialiasing, then cut out with a hard
/// edge in 2-pixel steps: JPEG keeps colour at half resolution, and a figure
/// edge that splits a colour sample would leave a purple fringe that is too
/// far from the key to be taken out. A dark 1-pixel outline hides the rest.
QImage paintSoldier()
{
    QImage big(QSize(kSoldierWidth, kSoldierHeight) * kOversize, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kOversize, kOversize);
        paintSoldierFigure(p);
    }
    const QImage small = big.scaled(kSoldierWidth, kSoldierHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage coarse = big.scaled(kSoldierWidth / 2, kSoldierHeight / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    auto inside = [&coarse](int x, int y) {
        return x >= 0 && y >= 0 && x < kSoldierWidth && y < kSoldierHeight && qAlpha(coarse.pixel(x / 2, y / 2)) >= 110;
    };
    const QColor outline(0x20, 0x22, 0x1c);
    QImage image(kSoldierWidth, kSoldierHeight, QImage::Format_RGB32);
    for (int y = 0; y < kSoldierHeight; ++y) {
        for (int x = 0; x < kSoldierWidth; ++x) {
            QRgb colour = kKey;
            if (inside(x, y)) {
                bool edge = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        edge = edge || !inside(x + dx, y + dy);
                // Over the outline colour, where the painted figure does not quite reach.
                const QRgb painted = reinterpret_cast<const QRgb*>(small.constScanLine(y))[x]; // premultiplied
                const double a = qAlpha(painted) / 255.0;
                colour = edge ? outline.rgb()
                              : qRgb(static_cast<int>(qRed(painted) + outline.red() * (1 - a)),
                                     static_cast<int>(qGreen(painted) + outline.green() * (1 - a)),
                                     static_cast<int>(qBlue(painted) + outline.blue() * (1 - a)));
            }
            image.setPixel(x, y, colour);
        }
    }

    // The key colour still bleeds a little into the figure's edge, tinting the
    // outline purple. Paint the edge slightly against that tint: encode,
    // decode, and take what the round trip added off the edge's pixels.
    auto nearEdge = [&inside](int x, int y) {
        if (!inside(x, y))
            return false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!inside(x + dx, y + dy))
                    return true;
        return false;
    };
    const QImage wanted = image;
    for (int pass = 0; pass < 4; ++pass) {
        const auto jpeg = tools::encodeJpeg(image, kQuality);
        if (!jpeg)
            return wanted;
        const auto decoded = widgets::decodeJpeg({reinterpret_cast<const std::uint8_t*>(jpeg->constData()),
                                                  static_cast<std::size_t>(jpeg->size())});
        if (!decoded || decoded->size() != image.size())
            return wanted;
        for (int y = 0; y < kSoldierHeight; ++y) {
            for (int x = 0; x < kSoldierWidth; ++x) {
                if (!nearEdge(x, y))
                    continue;
                const QRgb want = wanted.pixel(x, y), got = decoded->pixel(x, y), now = image.pixel(x, y);
                auto fix = [](int now, int want, int got) { return std::clamp(now + want - got, 0, 255); };
                image.setPixel(x, y, qRgb(fix(qRed(now), qRed(want), qRed(got)), fix(qGreen(now), qGreen(want), qGreen(got)),
                                          fix(qBlue(now), qBlue(want), qBlue(got))));
            }
        }
    }
    return image;
}

std::vector<Picture> allPictures()
{
    std::vector<Picture> pictures = {
        {"banner.jpg", paintBanner},
        {"highlight.jpg", paintHighlight},
        {"soldier.jpg", paintSoldier},
    };
    for (std::size_t i = 0; i < faces().size(); ++i)
        pictures.push_back({QString("face%1.jpg").arg(i, 2, 10, QChar('0')), [i] { return paintFace(faces()[i]); }});
    return pictures;
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
    const auto jpeg = tools::encodeJpeg(image, kQuality);
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
