// The build-time JPEG writer, read back by the decoder the programs use:
// grayscale stays one component and widens to RGB on reading, colours keep
// their channel order, and an empty picture is refused.

// standard
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

// Qt
#include <QColor>
#include <QImage>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "tools/jpegencoder.h"
#include "widgets/jpegimage.h"

using tools::encodeJpeg;
using widgets::decodeJpeg;

namespace {

// The baseline frame header: FF C0, length, precision, height, width, components.
constexpr std::uint8_t kSof0[] = {0xFF, 0xC0};

} // namespace

TEST(JpegEncoder, GrayscaleIsOneComponentAndReadsAsRgb)
{
    QImage gray(40, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            gray.scanLine(y)[x] = static_cast<uchar>(x * 6);
    const auto jpeg = encodeJpeg(gray, 95);
    ASSERT_TRUE(jpeg.ok()) << jpeg.error();
    const std::vector<std::uint8_t> bytes(jpeg->begin(), jpeg->end());
    const auto sof = std::search(bytes.begin(), bytes.end(), std::begin(kSof0), std::end(kSof0));
    ASSERT_LT(sof + 9, bytes.end());
    ASSERT_EQ(sof[9], 1) << "not a one-component picture";
    const auto decoded = decodeJpeg(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    ASSERT_EQ(decoded->format(), QImage::Format_RGB888);
    ASSERT_EQ(decoded->size(), gray.size());
    for (int x : {0, 13, 39}) {
        const QRgb pixel = decoded->pixel(x, 4);
        EXPECT_EQ(qRed(pixel), qGreen(pixel));
        EXPECT_EQ(qGreen(pixel), qBlue(pixel));
        EXPECT_NEAR(qRed(pixel), x * 6, 6) << "at x = " << x;
    }
}

TEST(JpegEncoder, ColourSurvivesARoundTrip)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 30));
    const auto jpeg = encodeJpeg(image);
    ASSERT_TRUE(jpeg.ok()) << jpeg.error();
    const auto decoded = decodeJpeg({reinterpret_cast<const std::uint8_t*>(jpeg->constData()),
                                     static_cast<std::size_t>(jpeg->size())});
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    const QRgb pixel = decoded->pixel(8, 8); // channel order: red stays red
    EXPECT_NEAR(qRed(pixel), 200, 8);
    EXPECT_NEAR(qGreen(pixel), 40, 8);
    EXPECT_NEAR(qBlue(pixel), 30, 8);

    const auto empty = encodeJpeg(QImage());
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error(), "Could not encode the picture: it is empty");
}
