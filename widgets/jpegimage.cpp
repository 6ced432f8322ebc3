#include "widgets/jpegimage.h"

// standard
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

// Qt
#include <QFile>

// libjpeg (needs FILE and size_t declared first)
#include <jerror.h>
#include <jpeglib.h>

namespace widgets {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours formats the message and longjmp's back to the function that started
// the work. Those functions (start, readPixels, compress) therefore hold only
// trivially destructible locals, and all state lives in the structs below,
// which their callers own and clean up.

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer is ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Level -1 is a warning: corrupt data that libjpeg would paper over, such as a
// premature end of file, which it pads with grey. We refuse such pictures.
// Trace messages (levels 0 and up) are dropped; nothing is ever printed.
void emitMessage(j_common_ptr info, int level)
{
    if (level < 0)
        errorExit(info);
}

void outputMessage(j_common_ptr) {}

jpeg_error_mgr* installErrorManager(ErrorManager& errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.pub.output_message = outputMessage;
    errors.message[0] = '\0';
    return &errors.pub;
}

// ---- decoding ----

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

// ---- encoding ----

/// A destination that grows a malloc'ed buffer; the caller frees `data`.
struct MemoryDestination {
    jpeg_destination_mgr pub;
    unsigned char* data;
    std::size_t capacity;
    std::size_t size;
};

struct Encoder {
    jpeg_compress_struct info;
    ErrorManager errors;
    MemoryDestination destination;
    bool created;
};
static_assert(std::is_trivially_destructible_v<Encoder>);

MemoryDestination& destinationOf(j_compress_ptr info)
{
    return *reinterpret_cast<MemoryDestination*>(info->dest);
}

void initDestination(j_compress_ptr info)
{
    MemoryDestination& dest = destinationOf(info);
    constexpr std::size_t initial = 64 * 1024;
    dest.data = static_cast<unsigned char*>(std::malloc(initial));
    if (!dest.data)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 1);
    dest.capacity = initial;
    dest.pub.next_output_byte = dest.data;
    dest.pub.free_in_buffer = initial;
}

boolean growDestination(j_compress_ptr info)
{
    MemoryDestination& dest = destinationOf(info); // called only when full
    const std::size_t capacity = dest.capacity * 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(dest.data, capacity));
    if (!grown)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 2);
    dest.data = grown;
    dest.pub.next_output_byte = grown + dest.capacity;
    dest.pub.free_in_buffer = capacity - dest.capacity;
    dest.capacity = capacity;
    return TRUE;
}

void termDestination(j_compress_ptr info)
{
    MemoryDestination& dest = destinationOf(info);
    dest.size = dest.capacity - dest.pub.free_in_buffer;
}

/// `image` is Format_Grayscale8 when `gray`, Format_RGB888 otherwise.
bool compress(Encoder& e, const QImage& image, bool gray, int quality)
{
    e.info.err = installErrorManager(e.errors);
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&e.info);
    e.created = true;
    e.destination.pub.init_destination = initDestination;
    e.destination.pub.empty_output_buffer = growDestination;
    e.destination.pub.term_destination = termDestination;
    e.info.dest = &e.destination.pub;

    e.info.image_width = static_cast<JDIMENSION>(image.width());
    e.info.image_height = static_cast<JDIMENSION>(image.height());
    e.info.input_components = gray ? 1 : 3;
    e.info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    // Colour at full resolution: halved colour would smear a keyed
    // background colour into the edge of a figure.
    for (int c = 0; c < e.info.num_components; ++c) {
        e.info.comp_info[c].h_samp_factor = 1;
        e.info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        // libjpeg only reads the row, its API just lacks the const.
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(e.info.next_scanline)));
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
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

platform::Result<QByteArray> encodeJpeg(const QImage& image, int quality)
{
    if (image.isNull())
        return platform::Result<QByteArray>::failure("Could not encode the picture: it is empty");
    const bool gray = image.format() == QImage::Format_Grayscale8;
    const QImage pixels = gray ? image : image.convertToFormat(QImage::Format_RGB888);

    Encoder e{};
    const bool ok = compress(e, pixels, gray, std::clamp(quality, 1, 100));
    if (e.created)
        jpeg_destroy_compress(&e.info);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char*>(e.destination.data), static_cast<qsizetype>(e.destination.size));
    std::free(e.destination.data);
    if (!ok)
        return platform::Result<QByteArray>::failure(std::string("Could not encode the picture: ") + e.errors.message);
    return out;
}

} // namespace widgets
