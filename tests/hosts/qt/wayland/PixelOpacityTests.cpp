#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "hosts/qt/wayland/PixelOpacity.h"

using namespace qthost;

// Wayland has no window opacity: the tint's pixels carry it, every premultiplied channel scaled alike.
TEST(PixelOpacity, ScalesEveryChannelAndClearsWhatTheContentDoesNotReach) {
    kit::Bitmap content(2, 1);
    content.pixels()[0] = 0xff804020;  // opaque
    content.pixels()[1] = 0x80402010;  // half covered, premultiplied
    const struct {
        const char* what;
        double opacity;
        std::uint32_t first;
        std::uint32_t second;
    } cases[] = {
        {"full: the content as it is", 1.0, 0xff804020, 0x80402010},
        {"a fifth, rounded to the nearest", 0.2, 0x331a0d06, 0x1a0d0603},
        {"none", 0.0, 0, 0},
        {"above one is one", 1.5, 0xff804020, 0x80402010},
        {"below zero is zero", -0.5, 0, 0},
        {"not a number shows nothing", std::nan(""), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint32_t> buffer(2, 0xdeadbeef);
        copyWithOpacity(content, c.opacity, buffer.data(), 2, 1);
        EXPECT_EQ(buffer[0], c.first);
        EXPECT_EQ(buffer[1], c.second);
    }

    // A buffer larger than the content (a rounding of the scale) is transparent beyond it; a smaller one takes
    // what fits.
    std::vector<std::uint32_t> larger(3 * 2, 0xdeadbeef);
    copyWithOpacity(content, 1.0, larger.data(), 3, 2);
    EXPECT_EQ(larger, (std::vector<std::uint32_t>{0xff804020, 0x80402010, 0, 0, 0, 0}));
    std::vector<std::uint32_t> smaller(1, 0xdeadbeef);
    copyWithOpacity(content, 1.0, smaller.data(), 1, 1);
    EXPECT_EQ(smaller[0], 0xff804020U);
}
