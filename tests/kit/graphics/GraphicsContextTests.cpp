#include <gtest/gtest.h>

#include <array>

#include "kit/graphics/BitmapContext.h"
#include "kit/graphics/GraphicsContext.h"
#include "kit/graphics/Image.h"
#include "support/HeadlessTest.h"

namespace {

using kit::Bitmap;
using kit::Color;
using kit::Rect;

class GraphicsContextTest : public HeadlessTest {};

TEST_F(GraphicsContextTest, ABitmapContextKeepsAlphaBlueGreenRedInTheCallersBytes) {
    std::array<std::uint8_t, 2 * 2 * 4> bytes{};
    auto bitmap = kit::BitmapContext::create(bytes.data(), 2, 2, 8, 8, kit::ColorSpace::DeviceRGB, 0x2001);
    ASSERT_NE(bitmap, nullptr);
    auto context = bitmap->graphicsContext(false);
    context->setColor(Color::deviceRGB(10 / 255.0, 20 / 255.0, 30 / 255.0, 1.0));
    context->fillRect(Rect(0, 1, 1, 1), kit::CompositingOperation::Copy);  // the top-left pixel
    EXPECT_EQ((std::array<std::uint8_t, 8>{bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5],
                                           bytes[6], bytes[7]}),
              (std::array<std::uint8_t, 8>{255, 30, 20, 10, 0, 0, 0, 0}));
    bytes[15] = 200;  // the caller's change reaches the image
    bytes[12] = 255;
    EXPECT_EQ(bitmap->createImage().pixel(1, 1), (Bitmap::RGBA8{200, 0, 0, 255}));

    for (const auto& [bits, rowBytes, info, space] :
         {std::tuple{16, 8, 0x2001u, kit::ColorSpace::DeviceRGB},
          std::tuple{8, 7, 0x2001u, kit::ColorSpace::DeviceRGB},
          std::tuple{8, 8, 0x0001u, kit::ColorSpace::DeviceRGB},
          std::tuple{8, 8, 0x2001u, kit::ColorSpace::CalibratedWhite}}) {
        EXPECT_EQ(kit::BitmapContext::create(bytes.data(), 2, 2, bits, rowBytes, space, info), nullptr);
    }
    EXPECT_EQ(kit::BitmapContext::create(nullptr, 2, 2, 8, 8, kit::ColorSpace::DeviceRGB, 0x2001), nullptr);
}

TEST_F(GraphicsContextTest, BlendModesTouchOnlyTheirShapeAndKeepTheCoverage) {
    kit::GraphicsContext context(Bitmap(4, 1), 1.0);
    context.setColor(Color::deviceRGB(1, 0, 0, 1));
    context.fillRect(Rect(0, 0, 2, 1), kit::CompositingOperation::SourceOver);  // red in pixels 0 and 1
    context.setColor(Color::deviceRGB(0, 0, 1, 1));
    context.fillRect(Rect(1, 0, 2, 1), kit::CompositingOperation::SourceIn);  // pixels 1 and 2
    context.setColor(Color::deviceRGB(0, 1, 0, 0.5));
    context.setBlendMode(kit::BlendMode::SourceAtop);
    context.fillOval(Rect(0, -4, 1, 9));  // a tall oval over pixel 0
    const Bitmap& pixels = context.bitmap();
    EXPECT_EQ(pixels.pixel(1, 0), (Bitmap::RGBA8{0, 0, 255, 255}))
        << "source-in takes the colour where covered";
    EXPECT_EQ(pixels.pixel(2, 0).alpha, 0) << "and stays clear where nothing was";
    EXPECT_EQ(pixels.pixel(0, 0).alpha, 255) << "source-atop keeps the coverage";
    EXPECT_NEAR(pixels.pixel(0, 0).green, 128, 6);
    EXPECT_NEAR(pixels.pixel(0, 0).red, 127, 6);
}

TEST_F(GraphicsContextTest, ALayerIsCompositedWithTheShadowCurrentWhenItBegan) {
    kit::GraphicsContext context(Bitmap(9, 9), 1.0);
    context.setShadow(kit::Shadow{{0, 0}, 1.0, Color::deviceRGB(0, 0, 0, 1)});
    context.beginTransparencyLayer(Rect(0, 0, 9, 9));
    context.setColor(Color::white());  // drawn without a shadow of its own
    context.fillRect(Rect(3, 3, 3, 3), kit::CompositingOperation::SourceOver);
    EXPECT_EQ(context.bitmap().pixel(4, 4).alpha, 0) << "nothing shows before the group ends";
    context.endTransparencyLayer();
    const Bitmap& pixels = context.bitmap();
    EXPECT_EQ(pixels.pixel(4, 4), (Bitmap::RGBA8{255, 255, 255, 255}));
    // A blur radius of 1 is a deviation of half a pixel: the neighbour takes e^-2 of the weights, ≈ 0.11.
    EXPECT_NEAR(pixels.pixel(2, 4).alpha, 27, 5) << "one shadow, blurred once";
    EXPECT_EQ(pixels.pixel(2, 4).red, 0);
    EXPECT_EQ(pixels.pixel(0, 4).alpha, 0) << "but not three";
}

TEST_F(GraphicsContextTest, AGradientAt270DegreesRunsFromTheTopDown) {
    kit::GraphicsContext context(Bitmap(1, 10), 1.0);
    context.drawLinearGradient(Rect(0, 0, 1, 10), Color::deviceRGB(0, 0, 0, 0), Color::deviceRGB(0, 0, 0, 1),
                               270);
    EXPECT_LT(context.bitmap().pixel(0, 0).alpha, 20);
    EXPECT_GT(context.bitmap().pixel(0, 9).alpha, 235);
}

TEST_F(GraphicsContextTest, ADrawingHandlerRunsOncePerResolution) {
    int calls = 0;
    std::optional<double> seenScale;
    const auto image = kit::Image::imageWithSize({4, 4}, false, [&](const Rect& rect) {
        ++calls;
        seenScale = kit::GraphicsContext::currentContext()->scale();
        EXPECT_EQ(rect, Rect(0, 0, 4, 4));
        return true;
    });
    image->bitmapForScale(1.0);
    image->bitmapForScale(1.0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image->bitmapForScale(2.0).width(), 8);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(seenScale, 2.0);
    EXPECT_EQ(kit::GraphicsContext::currentContext(), nullptr) << "the caller's context comes back";
}

}  // namespace
