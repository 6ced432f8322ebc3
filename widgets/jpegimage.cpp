#include "widgets/jpegimage.h"

// standard
#include <csetjmp>
#include <cstdio>
#include <string>
#include <type_traits>

// Qt
#include <QFile>

// ours
#include "widgets/jpegerrors.h"

namespace widgets {

namespace {

using jpeg::ErrorManager;
using jpeg::installErrorManager;

struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager errors;
    bool created;
};
static_assert(std::is_trivially_destructible_v<Decoder>);

struct DecoderCleanup {
    Decoder& d;
    ~DecoderCleanup()
    {
        if (d.created)
            jpeg_destroy_decompress(&d.info);
    }
};

/// Reads the header and chooses the colours libjpeg hands out; afterwards
/// output_width and output_height are known.
bool start(Decoder& d, const std::uint8_t* data, std::size_t size)
{
    d.info.err = installErrorManager(d.errors);
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        d.info.out_color_space = JCS_GRAYSCALE; // libjpeg 6b cannot widen to RGB itself
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        d.info.out_color_space = JCS_CMYK;
        break;
    default:
        d.info.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

/// Decodes every line into `bits`, rows of RGB888 pixels `bytesPerLine` apart.
bool readPixels(Decoder& d, std::uint8_t* bits, std::size_t bytesPerLine)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_start_decompress(&d.info);
    const JDIMENSION width = d.info.output_width;
    JSAMPARRAY converted = nullptr; // libjpeg's own pool frees it
    if (d.info.out_color_space != JCS_RGB)
        converted = d.info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d.info), JPOOL_IMAGE,
                                             width * static_cast<JDIMENSION>(d.info.output_components), 1);
    // Adobe's encoders store CMYK inverted; plain CMYK stores ink amounts.
    const int inkFlip = d.info.saw_Adobe_marker ? 0 : 255;

    while (d.info.output_scanline < d.info.output_height) {
        std::uint8_t* line = bits + d.info.output_scanline * bytesPerLine;
        JSAMPROW target = line;
        if (jpeg_read_scanlines(&d.info, converted ? converted : &target, 1) != 1) {
            std::snprintf(d.errors.message, sizeof d.errors.message, "the data ended early");
            return false;
        }
        if (!converted)
            continue;
        const JSAMPLE* in = converted[0];
        if (d.info.out_color_space == JCS_GRAYSCALE) {
            for (JDIMENSION x = 0; x < width; ++x)
                line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = in[x];
        } else {
            for (JDIMENSION x = 0; x < width; ++x, in += 4) {
                const int k = in[3] ^ inkFlip;
                for (int c = 0; c < 3; ++c)
                    line[3 * x + c] = static_cast<std::uint8_t>((in[c] ^ inkFlip) * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

platform::Result<QImage> decodeJpeg(std::span<const std::uint8_t> bytes)
{
    using platform::Result;
    Decoder d{};
    DecoderCleanup cleanup{d};
    auto damaged = [&] { return Result<QImage>::failure(std::string("The picture is damaged: ") + d.errors.message); };

    if (!start(d, bytes.data(), bytes.size()))
        return damaged();

    const JDIMENSION width = d.info.output_width;
    const JDIMENSION height = d.info.output_height;
    const std::string size = std::to_string(width) + " by " + std::to_string(height) + " pixels";
    constexpr auto maxSide = static_cast<JDIMENSION>(kMaxJpegSide);
    if (width > maxSide || height > maxSide || static_cast<std::int64_t>(width) * height > kMaxJpegPixels)
        return Result<QImage>::failure("The picture is too large: " + size);
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB888);
    if (image.isNull())
        return Result<QImage>::failure("Not enough memory for a picture of " + size);

    if (!readPixels(d, image.bits(), static_cast<std::size_t>(image.bytesPerLine())))
        return damaged();
    return image;
}

platform::Result<QImage> decodeJpegResource(const QString& qrcPath)
{
    QFile file(qrcPath);
    if (!file.open(QIODevice::ReadOnly))
        return platform::Result<QImage>::failure("Could not open the picture " + qrcPath.toStdString() + ": "
                                                 + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    return decodeJpeg({reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())});
}

} // namespace widgets
