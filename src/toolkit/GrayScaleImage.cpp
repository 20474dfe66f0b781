#include "toolkit/GrayScaleImage.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>

#include "kit/graphics/BitmapContext.h"
#include "kit/graphics/GraphicsContext.h"
#include "kit/graphics/Image.h"

namespace {

constexpr std::size_t bytesPerPixel = 4;
// In a 0x2001 pixel the bytes are alpha, blue, green, red.
constexpr std::size_t blueByte = 1;
constexpr std::size_t greenByte = 2;
constexpr std::size_t redByte = 3;

// A side in whole pixels: the points truncated; nullopt for no pixel, a negative or non-finite size, or
// more than an int holds.
std::optional<std::size_t> pixelCount(double points) {
    if (!std::isfinite(points) || points < 1.0 || points >= double(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(points);
}

// width × height × 4, or nullopt when it does not fit in a size_t.
std::optional<std::size_t> bufferSize(std::size_t width, std::size_t height) {
    constexpr std::size_t largest = std::numeric_limits<std::size_t>::max();
    if (height > largest / width || width * height > largest / bytesPerPixel) {
        return std::nullopt;
    }
    return width * height * bytesPerPixel;
}

void drawIntoBitmap(const kit::Image& image, kit::BitmapContext& bitmap) {
    const std::unique_ptr<kit::GraphicsContext> context = bitmap.graphicsContext(false);
    if (!context) {
        return;
    }
    kit::GraphicsContext::saveGraphicsState();
    kit::GraphicsContext::setCurrentContext(context.get());
    image.drawInRect(kit::Rect({0.0, 0.0}, image.size()), {}, kit::CompositingOperation::SourceOver, 1.0);
    kit::GraphicsContext::restoreGraphicsState();
}

// Premultiplied components stay premultiplied: the weights add up to 1. The red and green terms are added
// first; the sum is truncated, not rounded.
void turnGrey(std::uint8_t* pixels, std::size_t byteCount) {
    for (std::uint8_t* pixel = pixels; pixel < pixels + byteCount; pixel += bytesPerPixel) {
        const double grey = (pixel[redByte] * 0.3 + pixel[greenByte] * 0.59) + pixel[blueByte] * 0.11;
        const auto value = static_cast<std::uint8_t>(grey);
        pixel[redByte] = value;
        pixel[greenByte] = value;
        pixel[blueByte] = value;
    }
}

}  // namespace

std::shared_ptr<kit::Image> grayScaleImage(const kit::Image& image) {
    const kit::Size size = image.size();
    const auto width = pixelCount(size.width);
    const auto height = pixelCount(size.height);
    if (!width || !height) {
        return nullptr;
    }
    const auto byteCount = bufferSize(*width, *height);
    if (!byteCount) {
        return nullptr;
    }
    const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[*byteCount]());
    if (!buffer) {
        return nullptr;
    }
    const std::unique_ptr<kit::BitmapContext> bitmap = kit::BitmapContext::create(
        buffer.get(), *width, *height, 8, *width * bytesPerPixel, kit::ColorSpace::DeviceRGB,
        kit::BitmapContext::ByteOrder32Little | kit::BitmapContext::AlphaPremultipliedLast);
    if (!bitmap) {
        return nullptr;
    }
    drawIntoBitmap(image, *bitmap);
    turnGrey(buffer.get(), *byteCount);
    kit::Bitmap grey = bitmap->createImage();
    if (grey.isEmpty()) {
        return nullptr;
    }
    return kit::Image::imageWithBitmap(std::move(grey), size);
}
