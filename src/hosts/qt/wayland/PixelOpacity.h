#pragma once

#include <cstdint>

#include "kit/graphics/Bitmap.h"

namespace qthost {

// Writes `content` into a `width` x `height` buffer of premultiplied ARGB words, every channel scaled by
// `opacity` (clamped to 0...1): Wayland has no window opacity, so it lives in the pixels. Where the content
// does not reach, the buffer is transparent.
void copyWithOpacity(const kit::Bitmap& content, double opacity, std::uint32_t* buffer, int width, int height);

}  // namespace qthost
