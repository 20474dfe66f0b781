#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Window.h"
#include "support/HeadlessTest.h"

using Kind = headless::WindowEvent::Kind;

namespace {

class CountingView : public kit::View {
public:
    using View::View;
    bool wantsUpdateLayer() const override { return true; }
    void updateLayer() override { ++updates; }
    int updates = 0;
};

std::vector<Kind> kinds(const headless::HeadlessHost& world) {
    std::vector<Kind> result;
    for (const auto& event : world.windowEvents()) {
        result.push_back(event.kind);
    }
    return result;
}

}  // namespace

class WindowTest : public HeadlessTest {
protected:
    std::unique_ptr<kit::Window> makeWindow(const kit::Rect& frame = kit::Rect(0, 876, 1440, 24)) {
        auto window = std::make_unique<kit::Window>(frame, kit::WindowStyleMaskBorderless,
                                                    kit::BackingStoreType::Buffered, false);
        auto view = std::make_unique<CountingView>(kit::Rect(kit::Point{}, frame.size));
        view->setWantsLayer(true);
        view->setLayerContentsRedrawPolicy(kit::LayerContentsRedrawPolicy::OnSetNeedsDisplay);
        content = view.get();
        window->setContentView(std::move(view));
        return window;
    }
    CountingView* content = nullptr;
};

TEST_F(WindowTest, ViewsRefreshOnTheTurnAfterARequestAndOnlyWhileShown) {
    auto window = makeWindow();
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 0) << "a window refreshes nothing before it is shown";

    window->orderFront(nullptr);
    EXPECT_EQ(content->updates, 0) << "never during the call";
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 1) << "first display";

    content->setNeedsDisplay(true);
    content->setNeedsDisplay(true);
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 2) << "requests within a turn coalesce";
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 2);

    // A resize refreshes at once when the frame is set with display; moving alone does not.
    window->setFrame(kit::Rect(0, 860, 1440, 40), true);
    EXPECT_EQ(content->updates, 3);
    window->setFrame(kit::Rect(10, 860, 1440, 40), true);
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 3);

    window->close();
    content->setNeedsDisplay(true);
    world().runUntilIdle();
    EXPECT_EQ(content->updates, 3) << "closed windows do not refresh";
}

TEST_F(WindowTest, PeersSeeChangesAndFadesCarryTheGroupsDuration) {
    auto window = makeWindow();
    window->setAlphaValue(0.0);
    window->setLevel(26);
    window->setLevel(26);
    window->orderFront(nullptr);
    world().runUntilIdle();
    EXPECT_EQ(kinds(world()), (std::vector<Kind>{Kind::Created, Kind::AlphaChanged, Kind::LevelChanged,
                                                 Kind::OrderedFront, Kind::Redrawn}));
    world().clearWindowEvents();

    kit::AnimationContext::beginGrouping();
    kit::AnimationContext::currentContext().setDuration(0.15);
    window->animator().setAlphaValue(0.6);
    kit::AnimationContext::endGrouping();
    EXPECT_DOUBLE_EQ(window->alphaValue(), 0.6) << "the target reads at once";
    window->animator().setAlphaValue(0.3);
    ASSERT_EQ(world().windowEvents().size(), 2u);
    EXPECT_DOUBLE_EQ(world().windowEvents()[0].fadeDuration, 0.15);
    EXPECT_DOUBLE_EQ(world().windowEvents()[1].fadeDuration, kit::AnimationContext::defaultDuration);

    window.reset();
    EXPECT_EQ(world().windowEvents().back().kind, Kind::Destroyed);
}

TEST_F(WindowTest, OrderingFrontJoinsTheActiveSpace) {
    auto window = makeWindow();
    EXPECT_FALSE(window->isOnActiveSpace());
    window->orderFront(nullptr);
    EXPECT_TRUE(window->isOnActiveSpace());
    world().setActiveSpace(3);
    EXPECT_FALSE(window->isOnActiveSpace());
    window->orderFront(nullptr);
    EXPECT_TRUE(window->isOnActiveSpace());
    window->close();
    EXPECT_FALSE(window->isOnActiveSpace());
}

TEST_F(WindowTest, ScreensAndCoordinates) {
    kit::ScreenDescription second = headless::HeadlessHost::plainScreen(1920, 1080);
    second.frame.origin = {1440, 0};
    world().setScreens({headless::HeadlessHost::plainScreen(1440, 900), second});
    auto window = makeWindow(kit::Rect(1200, 500, 800, 100));
    ASSERT_TRUE(window->screen().has_value());
    EXPECT_EQ(window->screen()->index(), 1u) << "the screen holding the larger part";
    EXPECT_EQ(window->convertRectFromScreen(kit::Rect(1300, 550, 10, 10)), kit::Rect(100, 50, 10, 10));
    window->setFrame(kit::Rect(5000, 5000, 10, 10), false);
    EXPECT_FALSE(window->screen().has_value());

    auto* sub = window->contentView()->addSubview(std::make_unique<kit::View>(kit::Rect(20, 30, 100, 50)));
    EXPECT_EQ(sub->convertRectFromView(kit::Rect(25, 40, 5, 5), nullptr), kit::Rect(5, 10, 5, 5));
}

TEST_F(WindowTest, OpacityReadsBackAsSetButIsShownWithinZeroToOne) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double set;
        double shown;
    } cases[] = {{0.35, 0.35}, {-0.5, 0.0}, {1.5, 1.0}, {inf, 1.0}, {-inf, 0.0}, {nan, 1.0}};
    auto window = makeWindow();
    for (const auto& c : cases) {
        window->setAlphaValue(c.set);
        EXPECT_TRUE(window->alphaValue() == c.set || (std::isnan(c.set) && std::isnan(window->alphaValue())))
            << c.set;
        EXPECT_DOUBLE_EQ(window->presentedAlphaValue(), c.shown) << c.set;
    }
}

TEST_F(WindowTest, CentringUsesThePrimaryScreensFreeAreaTwoThirdsDown) {
    kit::ScreenDescription screen = headless::HeadlessHost::plainScreen(1440, 900);
    screen.visibleFrame = kit::Rect(0, 40, 1440, 836);  // a bottom panel and a top bar
    world().setScreens({screen});
    kit::Window titled(kit::Rect(3, 5, 401, 300), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       true);
    titled.center();
    // A third of the free height (536) above, two thirds below, whole points.
    EXPECT_EQ(titled.frame(), kit::Rect(519, 40 + 357, 401, 300));
}

// One window takes key presses at a time, so a host that brings the application forward knows which window
// to give the keyboard; only a titled window can be key.
TEST_F(WindowTest, OneTitledWindowIsKeyAtATimeAndTheUserCanMakeAnotherOneKey) {
    const auto titled = [] {
        return std::make_unique<kit::Window>(kit::Rect(0, 0, 200, 100), kit::WindowStyleMaskTitled,
                                             kit::BackingStoreType::Buffered, false);
    };
    auto settings = titled();
    auto about = titled();
    auto borderless = makeWindow();
    kit::Application& application = kit::Application::shared();
    EXPECT_EQ(application.windows(),
              (std::vector<kit::Window*>{settings.get(), about.get(), borderless.get()}));
    EXPECT_EQ(application.keyWindow(), nullptr);
    about->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(world().windowEvents().back().kind, Kind::BecameKey);
    settings->makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_TRUE(settings->isKeyWindow());
    EXPECT_FALSE(about->isKeyWindow()) << "the earlier key window resigns";
    EXPECT_EQ(application.keyWindow(), settings.get());

    about->becomeKeyWindow();  // the user clicked it
    EXPECT_EQ(application.keyWindow(), about.get());
    EXPECT_FALSE(settings->isKeyWindow());
    borderless->makeKeyAndOrderFront(nullptr);
    borderless->becomeKeyWindow();
    EXPECT_TRUE(borderless->isVisible());
    EXPECT_EQ(application.keyWindow(), about.get()) << "a window that cannot be key takes nothing";

    about->close();
    EXPECT_FALSE(about->isKeyWindow());
    EXPECT_EQ(application.keyWindow(), nullptr);
    settings.reset();
    EXPECT_EQ(application.windows(), (std::vector<kit::Window*>{about.get(), borderless.get()}));
}
