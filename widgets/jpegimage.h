#pragma once

// JPEG pictures read and written with libjpeg, independent of Qt's image
// plugins. A damaged picture is a failure with a message, never a crash.

// standard
#include <cstdint>
#include <span>

// Qt
#include <QByteArray>
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

/// Encodes a picture as a baseline JPEG. Format_Grayscale8 pictures become
/// one-component JPEGs, everything else is written as RGB. quality is 1..100.
platform::Result<QByteArray> encodeJpeg(const QImage& image, int quality = 90);

} // namespace widgets
