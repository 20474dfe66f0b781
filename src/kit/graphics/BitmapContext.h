#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "kit/appkit/Color.h"
#include "kit/graphics/Bitmap.h"
#include "kit/graphics/GraphicsContext.h"

namespace kit {

// A drawing destination on a caller's buffer (CGBitmapContext), one pixel per point, rows from the top.
// The buffer always holds the drawing: a graphics context on it reads the bytes before every step and
// writes them after it, so the caller may change them between steps.
class BitmapContext final : public GraphicsBacking {
public:
    // Bitmap info bits: the byte order and where alpha is.
    static constexpr std::uint32_t AlphaPremultipliedLast = 1;
    static constexpr std::uint32_t ByteOrder32Little = 0x2000;

    // CGBitmapContextCreate. Only 8-bit device-RGB pixels of 4 bytes with premultiplied alpha last, in
    // little-endian 32-bit words (0x2001: bytes alpha, blue, green, red in memory) are made; nullptr for
    // anything else, a null buffer, or rows shorter than the width.
    static std::unique_ptr<BitmapContext> create(std::uint8_t* data, std::size_t width, std::size_t height,
                                                 std::size_t bitsPerComponent, std::size_t bytesPerRow,
                                                 ColorSpace space, std::uint32_t bitmapInfo);

    // NSGraphicsContext graphicsContextWithGraphicsPort:flipped: — a context drawing into this buffer.
    std::unique_ptr<GraphicsContext> graphicsContext(bool flipped);
    // CGBitmapContextCreateImage: a copy of the buffer's pixels.
    Bitmap createImage() const;

    // --- GraphicsBacking
    void load(Bitmap& pixels) const override;
    void store(const Bitmap& pixels) override;

private:
    BitmapContext(std::uint8_t* data, int width, int height, std::size_t bytesPerRow)
        : _data(data), _width(width), _height(height), _bytesPerRow(bytesPerRow) {}

    std::uint8_t* _data;
    int _width;
    int _height;
    std::size_t _bytesPerRow;
};

}  // namespace kit
