#include <gtest/gtest.h>

#include "kit/appkit/Window.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/quartz/Layer.h"
#include "kit/quartz/LayerRenderer.h"
#include "support/HeadlessTest.h"
#include "tint/KRTintView.h"
#include "tint/KRTintWindow.h"

namespace {

// A 1512 × 982 screen with a camera housing between x 662 and 850 at the top.
kit::ScreenDescription housingScreen() {
    kit::ScreenDescription screen;
    screen.frame = kit::Rect(0, 0, 1512, 982);
    screen.backingScaleFactor = 2.0;
    screen.safeAreaInsets.top = 32.0;
    screen.auxiliaryTopLeftArea = kit::Rect(0, 950, 662, 32);
    screen.auxiliaryTopRightArea = kit::Rect(850, 950, 662, 32);
    return screen;
}

}  // namespace

class TintViewTest : public HeadlessTest {
protected:
    // A fresh process with the given pill defaults, a housing screen and a shown tint window over its bar.
    void startWithPills(std::optional<bool> pills, std::optional<bool> simple = std::nullopt,
                        kit::SystemVersion version = kit::SystemVersion::newest()) {
        restart();
        if (pills)
            kit::UserDefaults::standard().setBool(*pills, "Pills");
        if (simple)
            kit::UserDefaults::standard().setBool(*simple, "Pills: Simple");
        kit::SystemVersion::setCurrent(version);
        world().setScreens({housingScreen()});
        window = KRTintWindow::newTintWindowWithFrame(kit::Rect(0, 950, 1512, 32));
        window->orderFront(nullptr);
        world().runUntilIdle();
    }
    void redraw() {
        window->contentView()->setNeedsDisplay(true);
        world().runUntilIdle();
    }
    kit::GradientLayer& gradient() {
        return *static_cast<KRTintView*>(window->contentView())->gradientLayer();
    }
    std::shared_ptr<const kit::Path> maskPath() {
        auto* shape = dynamic_cast<kit::ShapeLayer*>(gradient().mask().get());
        return shape ? shape->path() : nullptr;
    }

    std::unique_ptr<KRTintWindow> window;
};

// Above the menu bar and never in the way of a click; it fades in from transparent.
TEST_F(TintViewTest, TheWindowIsAClickThroughTransparentStripAboveTheBar) {
    startWithPills(std::nullopt);
    EXPECT_EQ(window->styleMask(), kit::WindowStyleMaskBorderless);
    EXPECT_FALSE(window->canBecomeKeyWindow());
    EXPECT_TRUE(window->ignoresMouseEvents());
    EXPECT_FALSE(window->isOpaque());
    EXPECT_FALSE(window->hasShadow());
    EXPECT_EQ(window->backgroundColor(), kit::Color::clear());
    EXPECT_EQ(window->level(), kit::StatusWindowLevel + 1);
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0);
    EXPECT_EQ(gradient().frame(), kit::Rect(0, 0, 1512, 32));
}

TEST_F(TintViewTest, TheGradientRunsBottomColourAtTheBottomToTopColourAtTheTop) {
    startWithPills(std::nullopt);
    KRTintWindow::setBottomColor(kit::Color::sRGB(1, 0, 0, 1));
    KRTintWindow::setCenterColor(kit::Color::sRGB(0, 1, 0, 1));
    KRTintWindow::setTopColor(kit::Color::sRGB(0, 0, 1, 1));
    redraw();
    const kit::Bitmap image = kit::LayerRenderer::render(*window->contentView()->layer());
    ASSERT_EQ(image.height(), 32);
    EXPECT_GT(image.pixel(700, 0).blue, 200);
    EXPECT_GT(image.pixel(700, 16).green, 200);
    EXPECT_GT(image.pixel(700, 31).red, 200);
}

TEST_F(TintViewTest, PillsNeedTheDefaultARecentSystemAndAHousingAndAreReadOncePerProcess) {
    startWithPills(std::nullopt);
    EXPECT_EQ(gradient().mask(), nullptr);
    startWithPills(false, true);
    EXPECT_EQ(gradient().mask(), nullptr) << "\"Pills: Simple\" alone does nothing";
    startWithPills(true, std::nullopt, kit::SystemVersion(11, 7));
    EXPECT_EQ(gradient().mask(), nullptr) << "before 12.0";
    startWithPills(true);
    kit::UserDefaults::standard().setBool(false, "Pills");
    redraw();
    EXPECT_NE(gradient().mask(), nullptr) << "read once per process";

    // A refresh on a screen without a housing removes the mask.
    for (auto change : {+[](kit::ScreenDescription& s) { s.safeAreaInsets.top = 10.0; },
                        +[](kit::ScreenDescription& s) { s.auxiliaryTopLeftArea = kit::Rect(); },
                        +[](kit::ScreenDescription& s) { s.auxiliaryTopRightArea.size.width = 0; }}) {
        startWithPills(true);
        kit::ScreenDescription screen = housingScreen();
        change(screen);
        world().setScreens({screen});
        redraw();
        EXPECT_EQ(gradient().mask(), nullptr);
    }
}

TEST_F(TintViewTest, PillsLeaveTheHousingTheMarginsAndTheTopRowsUntinted) {
    for (bool simple : {false, true}) {
        SCOPED_TRACE(simple ? "simple" : "detailed");
        startWithPills(true, simple);
        const auto path = maskPath();
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(KRTintView::detailedPillsEnabled(), !simple);
        // View coordinates: the strip is 32 high; pills span x 3…659 and 853…1509, y 0…29.
        EXPECT_TRUE(path->containsPoint({330, 15})) << "inside the left pill";
        EXPECT_TRUE(path->containsPoint({1180, 15})) << "inside the right pill";
        EXPECT_FALSE(path->containsPoint({756, 15})) << "over the housing";
        EXPECT_FALSE(path->containsPoint({1.5, 15})) << "left margin";
        EXPECT_FALSE(path->containsPoint({1510.5, 15})) << "right margin";
        EXPECT_FALSE(path->containsPoint({660.5, 15})) << "margin beside the housing";
        EXPECT_FALSE(path->containsPoint({330, 30.5})) << "top three points";
        EXPECT_NEAR(path->boundingBox().minX(), 3, 0.01);
        EXPECT_NEAR(path->boundingBox().maxX(), 1509, 0.01);
        EXPECT_NEAR(path->boundingBox().maxY(), 29, 0.01);
        // The detailed pills round the housing's top corners tightly (radius 5), the outer ones widely (18).
        if (!simple) {
            EXPECT_TRUE(path->containsPoint({657, 27.5})) << "a radius-5 corner keeps its near-corner area";
            EXPECT_FALSE(path->containsPoint({5, 27})) << "a radius-18 corner cuts its corner away";
        } else {
            EXPECT_FALSE(path->containsPoint({7, 25})) << "radius 18, as round as the pill's height allows";
        }
    }
}
