// The JPEG reader on the embedded pictures and on pictures that are broken in
// the ways files get broken: empty, cut short, garbage, absurd dimensions.

// standard
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

// Qt
#include <QFile>
#include <QString>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "widgets/jpegimage.h"
#include "kestrin/widgets/keyedpixmap.h"

using widgets::decodeJpeg;

namespace {

// The baseline frame header: FF C0, length, precision, height, width, components.
constexpr std::uint8_t kSof0[] = {0xFF, 0xC0};

std::vector<std::uint8_t> bannerBytes()
{
    QFile file(":/pictures/banner.jpg");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

void expectDamaged(const platform::Result<QImage>& result)
{
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(result.error().starts_with("The picture is damaged: ")) << result.error();
    EXPECT_GT(result.error().size(), std::string("The picture is damaged: ").size()) << "no reason given";
}

} // namespace

TEST(Jpeg, EmbeddedBannerDecodesToItsSize)
{
    const auto banner = widgets::decodeJpegResource(":/pictures/banner.jpg");
    ASSERT_TRUE(banner.ok()) << banner.error();
    EXPECT_EQ(banner->size(), QSize(560, 60));
    EXPECT_EQ(banner->format(), QImage::Format_RGB888);
}

QString faceName(int i)
{
    return QString(":/pictures/face%1.jpg").arg(i, 2, 10, QChar('0'));
}

TEST(Jpeg, EmbeddedPicturesDecodeToTheirSizes)
{
    std::vector<std::pair<QString, QSize>> pictures = {{":/pictures/highlight.jpg", {108, 126}},
                                                       {":/pictures/soldier.jpg", {90, 126}}};
    for (int i = 0; i < 16; ++i)
        pictures.emplace_back(faceName(i), QSize(102, 120));
    for (const auto& [path, size] : pictures) {
        const auto picture = widgets::decodeJpegResource(path);
        ASSERT_TRUE(picture.ok()) << path.toStdString() << ": " << picture.error();
        EXPECT_EQ(picture->size(), size) << path.toStdString();
    }
    const auto highlight = widgets::decodeJpegResource(":/pictures/highlight.jpg");
    ASSERT_TRUE(highlight.ok());
    const QRgb gold = highlight->pixel(54, 63);
    EXPECT_NEAR(qRed(gold), 240, 6);
    EXPECT_NEAR(qGreen(gold), 200, 6);
    EXPECT_NEAR(qBlue(gold), 40, 6);
}

TEST(Jpeg, NoTwoFacesAlike)
{
    std::vector<QImage> faces;
    for (int i = 0; i < 16; ++i) {
        const auto face = widgets::decodeJpegResource(faceName(i));
        ASSERT_TRUE(face.ok()) << face.error();
        faces.push_back(*face);
    }
    for (std::size_t a = 0; a < faces.size(); ++a) {
        for (std::size_t b = a + 1; b < faces.size(); ++b) {
            double difference = 0;
            for (int y = 0; y < 120; y += 2)
                for (int x = 0; x < 102; x += 2) {
                    const QRgb p = faces[a].pixel(x, y), q = faces[b].pixel(x, y);
                    difference += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
                }
            EXPECT_GT(difference / (60 * 51 * 3), 10.0) << "faces " << a << " and " << b;
        }
    }
}

TEST(KeyedPixmap, TakesOutColoursWithinTheTolerance)
{
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(195, 60, 200)); // 60 off in red and green
    image.setPixel(2, 0, qRgb(194, 0, 255));  // 61 off in red
    image.setPixel(3, 0, qRgb(40, 60, 30));
    const QImage keyed = kestrin::flat::keyedImage(image);
    ASSERT_EQ(keyed.size(), image.size());
    EXPECT_EQ(keyed.pixel(0, 0), 0u);
    EXPECT_EQ(keyed.pixel(1, 0), 0u);
    EXPECT_EQ(keyed.pixel(2, 0), qRgb(194, 0, 255));
    EXPECT_EQ(keyed.pixel(3, 0), qRgb(40, 60, 30));
    EXPECT_EQ(kestrin::flat::keyedImage(image, Qt::magenta, -1).pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_TRUE(kestrin::flat::keyedImage(QImage()).isNull());
}

TEST(KeyedPixmap, SoldierStandsClearOfHisBackground)
{
    const auto soldier = widgets::decodeJpegResource(":/pictures/soldier.jpg");
    ASSERT_TRUE(soldier.ok()) << soldier.error();
    const QImage keyed = kestrin::flat::keyedImage(*soldier);
    int opaque = 0, fringe = 0;
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x) {
            const QRgb p = keyed.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ++opaque;
            // What keying left behind: light, strongly purple pixels.
            fringe += qRed(p) > 150 && qBlue(p) > 150 && qGreen(p) < 100;
        }
    for (QPoint corner : {QPoint(0, 0), QPoint(89, 0), QPoint(0, 125), QPoint(89, 125)})
        EXPECT_EQ(qAlpha(keyed.pixel(corner)), 0);
    EXPECT_EQ(qAlpha(keyed.pixel(45, 50)), 255) << "the chest";
    EXPECT_GT(opaque, 2500);
    EXPECT_LT(fringe, 90) << "a halo round the figure";
}

TEST(Jpeg, MissingResourceNamesThePath)
{
    const auto result = widgets::decodeJpegResource(":/pictures/none.jpg");
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(":/pictures/none.jpg"), std::string::npos) << result.error();
}

TEST(Jpeg, EmptyInputIsDamaged)
{
    expectDamaged(decodeJpeg({}));
}

TEST(Jpeg, TruncatedPictureIsDamagedNotPaddedWithGrey)
{
    const auto bytes = bannerBytes();
    ASSERT_GT(bytes.size(), 1000u);
    expectDamaged(decodeJpeg(std::span(bytes).first(bytes.size() / 2)));
    // Even the end-of-image marker alone missing counts.
    expectDamaged(decodeJpeg(std::span(bytes).first(bytes.size() - 2)));
}

TEST(Jpeg, GarbageIsDamaged)
{
    std::mt19937 random(20240601);
    std::vector<std::uint8_t> bytes(4096);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    bytes[0] = 0x00; // not even the start marker
    expectDamaged(decodeJpeg(bytes));

    // A start marker followed by garbage gets as far as the marker parser.
    bytes[0] = 0xFF;
    bytes[1] = 0xD8;
    expectDamaged(decodeJpeg(bytes));
}

TEST(Jpeg, AbsurdDimensionsAreRefusedBeforeAllocating)
{
    auto bytes = bannerBytes();
    const auto sof = std::search(bytes.begin(), bytes.end(), std::begin(kSof0), std::end(kSof0));
    ASSERT_LT(sof + 9, bytes.end()) << "no baseline frame header";
    for (auto at : {sof + 5, sof + 7}) { // height, width: 60000 each
        at[0] = 60000 >> 8;
        at[1] = 60000 & 0xFF;
    }
    const auto result = decodeJpeg(bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), "The picture is too large: 60000 by 60000 pixels");
}
