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
    kit::GradientLayer& gradient() {
        return *static_cast<KRTintView*>(window->contentView())->gradientLayer();
    }
    std::shared_ptr<const kit::Path> maskPath() {
        auto* shape = dynamic_cast<kit::ShapeLayer*>(gradient().mask().get());
        return shape ? shape->path() : nullptr;
    }

    std::unique_ptr<KRTintWindow> window;
};

TEST_F(TintViewTest, TheWindowIsBorderlessClickThroughAndStartsTransparent) {
    startWithPills(std::nullopt);
    EXPECT_EQ(window->styleMask(), kit::WindowStyleMaskBorderless);
    EXPECT_EQ(window->collectionBehavior(),
              kit::WindowCollectionBehaviorMoveToActiveSpace | kit::WindowCollectionBehaviorTransient);
    EXPECT_FALSE(window->canBecomeKeyWindow());
    EXPECT_FALSE(window->canBecomeMainWindow());
    EXPECT_TRUE(window->ignoresMouseEvents());
    EXPECT_FALSE(window->isOpaque());
    EXPECT_FALSE(window->hasShadow());
    EXPECT_FALSE(window->isReleasedWhenClosed());
    EXPECT_EQ(window->backgroundColor(), kit::Color::clear());
    EXPECT_EQ(window->level(), kit::StatusWindowLevel + 1);
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.0);
    auto* view = dynamic_cast<KRTintView*>(window->contentView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->frame(), kit::Rect(0, 0, 1512, 32));
    EXPECT_FALSE(view->isFlipped());
    EXPECT_EQ(view->layerContentsRedrawPolicy(), kit::LayerContentsRedrawPolicy::OnSetNeedsDisplay);
    EXPECT_EQ(gradient().frame(), kit::Rect(0, 0, 1512, 32));
}

TEST_F(TintViewTest, TheGradientRunsBottomColourAtTheBottomToTopColourAtTheTop) {
    startWithPills(std::nullopt);
    KRTintWindow::setBottomColor(kit::Color::sRGB(1, 0, 0, 1));
    KRTintWindow::setCenterColor(kit::Color::sRGB(0, 1, 0, 1));
    KRTintWindow::setTopColor(kit::Color::sRGB(0, 0, 1, 1));
    window->contentView()->setNeedsDisplay(true);
    world().runUntilIdle();

    const kit::Bitmap image = kit::LayerRenderer::render(*window->contentView()->layer());
    ASSERT_EQ(image.height(), 32);
    const auto top = image.pixel(700, 0);
    const auto middle = image.pixel(700, 16);
    const auto bottom = image.pixel(700, 31);
    EXPECT_GT(top.blue, 200);
    EXPECT_LT(top.red, 40);
    EXPECT_GT(middle.green, 200);
    EXPECT_GT(bottom.red, 200);
    EXPECT_LT(bottom.blue, 40);
}

TEST_F(TintViewTest, PillsNeedTheDefaultARecentSystemAndAHousing) {
    startWithPills(std::nullopt);
    EXPECT_EQ(gradient().mask(), nullptr);
    startWithPills(false, true);
    EXPECT_EQ(gradient().mask(), nullptr) << "\"Pills: Simple\" alone does nothing";
    startWithPills(true, std::nullopt, kit::SystemVersion(11, 7));
    EXPECT_EQ(gradient().mask(), nullptr) << "before 12.0";
    startWithPills(true);
    ASSERT_NE(maskPath(), nullptr);

    // A refresh on a screen without a housing removes the mask.
    for (auto change : {+[](kit::ScreenDescription& s) { s.safeAreaInsets.top = 10.0; },
                        +[](kit::ScreenDescription& s) { s.auxiliaryTopLeftArea = kit::Rect(); },
                        +[](kit::ScreenDescription& s) { s.auxiliaryTopRightArea.size.width = 0; }}) {
        startWithPills(true);
        kit::ScreenDescription screen = housingScreen();
        change(screen);
        world().setScreens({screen});
        window->contentView()->setNeedsDisplay(true);
        world().runUntilIdle();
        EXPECT_EQ(gradient().mask(), nullptr);
    }
}

TEST_F(TintViewTest, PillsLeaveTheHousingTheMarginsAndTheTopRowsUntinted) {
    for (bool simple : {false, true}) {
        startWithPills(true, simple);
        auto path = maskPath();
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
        const kit::Rect box = path->boundingBox();
        EXPECT_NEAR(box.minX(), 3, 0.01);
        EXPECT_NEAR(box.maxX(), 1509, 0.01);
        EXPECT_NEAR(box.maxY(), 29, 0.01);
    }
    // The detailed pills round the housing's top corners tightly (radius 5) and the outer ones widely (18).
    startWithPills(true, false);
    auto detailed = maskPath();
    EXPECT_TRUE(detailed->containsPoint({657, 27.5})) << "a radius-5 corner keeps its near-corner area";
    EXPECT_FALSE(detailed->containsPoint({5, 27})) << "a radius-18 corner cuts its corner away";
}

TEST_F(TintViewTest, PillFlagsAreReadOncePerProcess) {
    startWithPills(true);
    kit::UserDefaults::standard().setBool(false, "Pills");
    window->contentView()->setNeedsDisplay(true);
    world().runUntilIdle();
    EXPECT_TRUE(KRTintView::pillsEnabled());
    EXPECT_NE(gradient().mask(), nullptr);
}
