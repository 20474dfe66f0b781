#include <gtest/gtest.h>

#include <limits>

#include "kit/quartz/LayerRenderer.h"

namespace {

void expectPixel(const kit::Bitmap& bitmap, int x, int y, kit::Bitmap::RGBA8 expected, int tolerance = 3) {
    const kit::Bitmap::RGBA8 actual = bitmap.pixel(x, y);
    EXPECT_NEAR(actual.red, expected.red, tolerance) << "at " << x << ", " << y;
    EXPECT_NEAR(actual.green, expected.green, tolerance) << "at " << x << ", " << y;
    EXPECT_NEAR(actual.blue, expected.blue, tolerance) << "at " << x << ", " << y;
    EXPECT_NEAR(actual.alpha, expected.alpha, tolerance) << "at " << x << ", " << y;
}

constexpr kit::Bitmap::RGBA8 Transparent{0, 0, 0, 0};

}  // namespace

// The stops' order and direction are checked through the tint view; here, how stops of different alpha blend.
TEST(LayerRendererTest, StraightComponentsAreBlendedSoRedIntoClearDarkens) {
    const auto layer = kit::GradientLayer::make();
    layer->setFrame(kit::Rect(0, 0, 2, 100));
    layer->setColors({kit::Color::calibratedRGB(1, 0, 0, 1), kit::Color::clear()});
    expectPixel(kit::LayerRenderer::render(*layer), 0, 50, {128, 0, 0, 128});
}

TEST(LayerRendererTest, SublayersAreUnflippedAndScaled) {
    const auto root = kit::Layer::make();
    root->setFrame(kit::Rect(100, 100, 20.25, 10));  // its own origin does not move its drawing
    const auto corner = kit::Layer::make();
    corner->setFrame(kit::Rect(2, 0, 5, 5));
    corner->setBackgroundColor(kit::Color::deviceWhite(1, 0.5));
    root->addSublayer(corner);
    const kit::Bitmap bitmap = kit::LayerRenderer::render(*root, 2.0);
    ASSERT_EQ(bitmap.width(), 41) << "part of a pixel is a whole one";
    ASSERT_EQ(bitmap.height(), 20);
    expectPixel(bitmap, 4, 19, {255, 255, 255, 128});  // the sublayer's lower left
    expectPixel(bitmap, 13, 10, {255, 255, 255, 128});
    expectPixel(bitmap, 3, 19, Transparent);
    expectPixel(bitmap, 14, 10, Transparent);
    expectPixel(bitmap, 4, 9, Transparent);

    EXPECT_TRUE(kit::LayerRenderer::render(*corner, std::numeric_limits<double>::quiet_NaN()).isEmpty());
    EXPECT_TRUE(kit::LayerRenderer::render(*corner, 1e9).isEmpty());
    EXPECT_TRUE(kit::LayerRenderer::render(*kit::Layer::make()).isEmpty());
}

TEST(LayerRendererTest, MaskShowsTheLayerOnlyWhereItsPathCovers) {
    const auto tint = kit::GradientLayer::make();
    tint->setFrame(kit::Rect(0, 0, 40, 20));
    tint->setColors({kit::Color::black(), kit::Color::black()});
    const auto mask = kit::ShapeLayer::make();
    mask->setFrame(kit::Rect(10, 0, 30, 20));  // placed in the masked layer's bounds
    const auto pill = kit::Path::createMutable();
    pill->addRoundedRect(kit::Rect(0, 0, 20, 10), 5, 5);
    mask->setPath(pill);
    mask->setFillColor(kit::Color::deviceRGB(1, 0, 0, 1));  // only coverage counts, not colour
    tint->setMask(mask);
    const auto root = kit::Layer::make();
    root->setFrame(tint->frame());
    root->addSublayer(tint);

    const kit::Bitmap bitmap = kit::LayerRenderer::render(*root);
    expectPixel(bitmap, 20, 15, {0, 0, 0, 255});  // inside the pill (rows count from the top)
    expectPixel(bitmap, 5, 15, Transparent);      // left of the mask layer
    EXPECT_GT(bitmap.pixel(10, 15).alpha, 128) << "antialiased edge";
    EXPECT_LT(bitmap.pixel(10, 15).alpha, 255) << "antialiased edge";

    tint->setMask(tint);  // a mask that is the layer itself hides it, and must not recurse
    expectPixel(kit::LayerRenderer::render(*root), 20, 15, Transparent);
    tint->setMask(nullptr);
    expectPixel(kit::LayerRenderer::render(*root), 5, 5, {0, 0, 0, 255});
}
