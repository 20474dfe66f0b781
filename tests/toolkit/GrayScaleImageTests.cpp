#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/graphics/Image.h"
#include "support/HeadlessTest.h"
#include "toolkit/GrayScaleImage.h"

namespace {

using kit::Bitmap;

std::shared_ptr<kit::Image> solidImage(const Bitmap::RGBA8& colour, kit::Size size, int pixelsWide,
                                       int pixelsHigh) {
    Bitmap pixels(pixelsWide, pixelsHigh);
    pixels.fill(colour);
    return kit::Image::imageWithBitmap(std::move(pixels), size);
}

std::uint32_t onlyPixelOf(const kit::Image& image) {
    EXPECT_EQ(image.representations().size(), 1u);
    return image.representations().front().premultipliedPixel(0, 0);
}

class GrayScaleImageTest : public HeadlessTest {};

TEST_F(GrayScaleImageTest, WeighsRedGreenAndBlueTruncatesAndKeepsAlpha) {
    struct Case {
        Bitmap::RGBA8 colour;
        std::uint32_t grey;
    };
    for (const Case& c : {Case{{255, 0, 0, 255}, 76}, Case{{0, 255, 0, 255}, 150}, Case{{0, 0, 255, 255}, 28},
                          Case{{255, 255, 255, 255}, 255}, Case{{0, 0, 0, 255}, 0},
                          Case{{128, 128, 128, 255}, 127}, Case{{0, 0, 0, 0}, 0}}) {
        SCOPED_TRACE(c.grey);
        const auto grey = grayScaleImage(*solidImage(c.colour, {2, 2}, 2, 2));
        ASSERT_NE(grey, nullptr);
        const std::uint32_t alpha = c.colour.alpha;
        EXPECT_EQ(onlyPixelOf(*grey), alpha << 24 | c.grey << 16 | c.grey << 8 | c.grey);
    }
}

TEST_F(GrayScaleImageTest, HasOnePixelPerTruncatedPointAndTheSizeInPoints) {
    const auto grey = grayScaleImage(*solidImage({255, 0, 0, 255}, {16.7, 16.2}, 17, 17));
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->size(), (kit::Size{16.7, 16.2}));
    EXPECT_EQ(grey->representations().front().width(), 16);
    EXPECT_EQ(grey->representations().front().height(), 16);

    // A double-resolution representation beside the single one: the result has the single resolution.
    auto both = solidImage({255, 0, 0, 255}, {4, 4}, 4, 4);
    Bitmap fine(8, 8);
    fine.fill({0, 0, 255, 255});
    both->addRepresentation(std::move(fine));
    const auto fromBoth = grayScaleImage(*both);
    EXPECT_EQ(fromBoth->representations().front().width(), 4);
    EXPECT_EQ(onlyPixelOf(*fromBoth) & 0xff, 76u);
}

TEST_F(GrayScaleImageTest, SizesWithoutAWholePixelGiveNothing) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const kit::Size size : {kit::Size{0.5, 10}, kit::Size{10, 0.99}, kit::Size{-4, 4}, kit::Size{4, nan},
                                 kit::Size{infinity, 4}, kit::Size{1e300, 1e300}}) {
        SCOPED_TRACE(testing::Message() << size.width << " × " << size.height);
        EXPECT_EQ(grayScaleImage(*solidImage({255, 0, 0, 255}, size, 2, 2)), nullptr);
    }
}

}  // namespace
