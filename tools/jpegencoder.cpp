#include "tools/jpegencoder.h"

// standard
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

// ours
#include "widgets/jpegerrors.h"

namespace tools {

namespace {

using widgets::jpeg::ErrorManager;
using widgets::jpeg::installErrorManager;

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


} // namespace tools
