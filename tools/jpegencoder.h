#pragma once

// The JPEG writer of the build-time tools, with libjpeg. The programs only
// read pictures (widgets/jpegimage.h); nothing they run writes one.

// Qt
#include <QByteArray>
#include <QImage>

// ours
#include "platform/result.h"

namespace tools {

/// Encodes a picture as a baseline JPEG. Format_Grayscale8 pictures become
/// one-component JPEGs, everything else is written as RGB. quality is 1..100.
platform::Result<QByteArray> encodeJpeg(const QImage& image, int quality = 90);

} // namespace tools
