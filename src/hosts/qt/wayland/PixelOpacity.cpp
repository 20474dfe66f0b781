#include "hosts/qt/wayland/PixelOpacity.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qthost {

namespace {

std::uint32_t scaled(std::uint32_t pixel, std::uint32_t factor) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t channel = (pixel >> shift) & 0xffU;
        result |= ((channel * factor + 127U) / 255U) << shift;
    }
    return result;
}

}  // namespace

void copyWithOpacity(const kit::Bitmap& content, double opacity, std::uint32_t* buffer, int width, int height) {
    const double clamped = std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : 0.0;
    const auto factor = static_cast<std::uint32_t>(std::lround(clamped * 255.0));
    const int columns = std::min(width, content.width());
    const int rows = std::min(height, content.height());
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = buffer + static_cast<std::size_t>(y) * width;
        int x = 0;
        if (y < rows) {
            const std::uint32_t* source = content.pixels() + static_cast<std::size_t>(y) * content.width();
            for (; x < columns; ++x) {
                row[x] = factor == 255U ? source[x] : scaled(source[x], factor);
            }
        }
        std::memset(row + x, 0, static_cast<std::size_t>(width - x) * sizeof(std::uint32_t));
    }
}

}  // namespace qthost
