#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace kit {

// A raster image: rows from the top, each pixel a premultiplied 0xAARRGGBB word (the layout QImage's
// ARGB32_Premultiplied uses, so hosts can paint it without conversion).
class Bitmap {
public:
    struct RGBA8 {
        std::uint8_t red, green, blue, alpha;  // not premultiplied
        friend bool operator==(const RGBA8&, const RGBA8&) = default;
    };

    Bitmap() = default;
    // A transparent bitmap; non-positive sizes give an empty one.
    Bitmap(int width, int height);

    int width() const { return _width; }
    int height() const { return _height; }
    bool isEmpty() const { return _width == 0 || _height == 0; }

    std::uint32_t* pixels() { return _pixels.data(); }
    const std::uint32_t* pixels() const { return _pixels.data(); }
    std::uint32_t premultipliedPixel(int x, int y) const {
        return _pixels[static_cast<std::size_t>(y) * _width + x];
    }
    // The colour at (x, y), (0, 0) being the top-left pixel; transparent outside the bitmap.
    RGBA8 pixel(int x, int y) const;

    // Every pixel set to `color`.
    void fill(const RGBA8& color);
    // Draws `source` with its top-left pixel at (x, y), over what is there, at `opacity` (0…1): how a
    // translucent window is composited over what lies beneath it.
    void drawBitmap(const Bitmap& source, int x, int y, double opacity);

    // Writes a PNG file; false when it cannot.
    bool writePNG(const std::filesystem::path& path) const;

private:
    int _width = 0;
    int _height = 0;
    std::vector<std::uint32_t> _pixels;
};

}  // namespace kit
