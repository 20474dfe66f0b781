#include "kit/graphics/BitmapContext.h"

#include <limits>

namespace kit {

namespace {

constexpr std::uint32_t supportedBitmapInfo =
    BitmapContext::ByteOrder32Little | BitmapContext::AlphaPremultipliedLast;

}  // namespace

std::unique_ptr<BitmapContext> BitmapContext::create(std::uint8_t* data, std::size_t width,
                                                     std::size_t height, std::size_t bitsPerComponent,
                                                     std::size_t bytesPerRow, ColorSpace space,
                                                     std::uint32_t bitmapInfo) {
    constexpr auto largest = static_cast<std::size_t>(std::numeric_limits<int>::max() / 4);
    if (!data || width == 0 || height == 0 || width > largest || height > largest || bitsPerComponent != 8 ||
        bytesPerRow < width * 4 || space != ColorSpace::DeviceRGB || bitmapInfo != supportedBitmapInfo) {
        return nullptr;
    }
    return std::unique_ptr<BitmapContext>(
        new BitmapContext(data, static_cast<int>(width), static_cast<int>(height), bytesPerRow));
}

std::unique_ptr<GraphicsContext> BitmapContext::graphicsContext(bool flipped) {
    return std::make_unique<GraphicsContext>(Bitmap(_width, _height), 1.0, flipped, this);
}

Bitmap BitmapContext::createImage() const {
    Bitmap pixels(_width, _height);
    load(pixels);
    return pixels;
}

// In memory a pixel is alpha, blue, green, red; the kit's words are 0xAARRGGBB.
void BitmapContext::load(Bitmap& pixels) const {
    for (int y = 0; y < _height; ++y) {
        const std::uint8_t* byte = _data + static_cast<std::size_t>(y) * _bytesPerRow;
        std::uint32_t* word = pixels.pixels() + static_cast<std::size_t>(y) * _width;
        for (int x = 0; x < _width; ++x, byte += 4) {
            word[x] = std::uint32_t(byte[0]) << 24 | std::uint32_t(byte[3]) << 16 |
                      std::uint32_t(byte[2]) << 8 | byte[1];
        }
    }
}

void BitmapContext::store(const Bitmap& pixels) {
    for (int y = 0; y < _height; ++y) {
        std::uint8_t* byte = _data + static_cast<std::size_t>(y) * _bytesPerRow;
        const std::uint32_t* word = pixels.pixels() + static_cast<std::size_t>(y) * _width;
        for (int x = 0; x < _width; ++x, byte += 4) {
            byte[0] = static_cast<std::uint8_t>(word[x] >> 24);
            byte[1] = static_cast<std::uint8_t>(word[x]);
            byte[2] = static_cast<std::uint8_t>(word[x] >> 8);
            byte[3] = static_cast<std::uint8_t>(word[x] >> 16);
        }
    }
}

}  // namespace kit
