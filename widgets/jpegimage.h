#pragma once

// JPEG pictures read with libjpeg, independent of Qt's image plugins. A
// damaged picture is a failure with a message, never a crash. The pictures
// themselves are written at build time (tools/jpegencoder.h).

// standard
#include <cstdint>
#include <span>

// Qt
#include <QImage>
#include <QString>

// ours
#include "platform/result.h"

namespace widgets {

/// Pictures wider or taller than this, or with more pixels than
/// kMaxJpegPixels, are refused before any pixel memory is taken.
inline constexpr int kMaxJpegSide = 16384;
inline constexpr std::int64_t kMaxJpegPixels = 40'000'000;

/// Decodes a JPEG picture to Format_RGB888 (grayscale and CMYK pictures are
/// converted). Anything libjpeg reports, warnings included, makes the picture
/// "damaged": a truncated file is refused rather than shown half grey.
platform::Result<QImage> decodeJpeg(std::span<const std::uint8_t> bytes);

/// Reads a picture embedded as a Qt resource (":/pictures/banner.jpg").
platform::Result<QImage> decodeJpegResource(const QString& qrcPath);

} // namespace widgets
