#include <gtest/gtest.h>

#include "about/KRAdButtonWindow.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "kit/foundation/UserDefaults.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"
#include "support/TemporaryFolder.h"

namespace {

constexpr const char* versionKey = "KRAdButtonWindowAppVersion";
const std::string homePage = "https://larkspur.example/";

class KRAdButtonWindowTest : public HeadlessTest {
protected:
    std::unique_ptr<KRAdButtonWindow> window = makeWindow();

    static std::unique_ptr<KRAdButtonWindow> makeWindow() {
        return std::make_unique<KRAdButtonWindow>(kit::Rect(100, 100, 400, 300),
                                                  kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                                                  kit::BackingStoreType::Buffered, false);
    }
    static std::optional<std::string> storedVersion() {
        const auto stored = kit::UserDefaults::standard().objectForKey(versionKey);
        return stored && stored->string() ? std::optional(*stored->string()) : std::nullopt;
    }
    bool showing() const { return window->adPopover() && window->adPopover()->isShown(); }
    std::string title() const { return window->adButton()->title(); }
    kit::View& popoverContent() const {
        return *window->adPopover()->window()->contentView()->subviews().front();
    }
    kit::Button& websiteButton() const {
        return static_cast<kit::Button&>(*popoverContent().subviews().back());
    }
};

TEST_F(KRAdButtonWindowTest, FollowsItsStateTableIncludingAPopoverThePlatformClosed) {
    window->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(window->tabbingMode(), kit::WindowTabbingMode::Disallowed);
    EXPECT_TRUE(showing()) << "a first start opens it by itself";
    EXPECT_EQ(title(), "OK");
    EXPECT_EQ(storedVersion(), "0.1.0");

    window->adButton()->performClick(nullptr);  // "OK"
    EXPECT_EQ(window->adPopover(), nullptr);
    EXPECT_EQ(title(), "Hi!");
    window->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(window->adPopover(), nullptr) << "the same version opens it once";

    window->adButton()->performClick(nullptr);  // "Hi!"
    ASSERT_TRUE(showing());
    window->close();  // the platform closes a popover whose window closes
    EXPECT_EQ(title(), "Hi!");
    ASSERT_NE(window->adPopover(), nullptr) << "closed-held";
    EXPECT_FALSE(window->adPopover()->isShown());
    kit::UserDefaults::standard().removeObject(versionKey);
    window->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(storedVersion(), std::nullopt) << "no version check while a popover is held";
    window->adButton()->performClick(nullptr);
    EXPECT_EQ(window->adPopover(), nullptr) << "the first press only discards it";
    EXPECT_TRUE(world().openedURLs().empty());

    window->adButton()->performClick(nullptr);
    ASSERT_TRUE(showing());
    kit::Popover foreign;
    kit::Notification notification(kit::PopoverDidCloseNotification, &foreign);
    window->popoverDidClose(notification);
    EXPECT_EQ(title(), "OK") << "another popover's close is not ours";

    websiteButton().performClick(nullptr);
    EXPECT_EQ(window->adPopover(), nullptr);
    EXPECT_EQ(title(), "Hi!");
    EXPECT_EQ(world().openedURLs(), std::vector<std::string>{homePage});
    EXPECT_EQ(window->titlebarAccessoryViewControllers().size(), 1u) << "one button, however often shown";
}

TEST_F(KRAdButtonWindowTest, OpensOncePerVersionStoringTheVersionFirst) {
    for (const auto& [stored, opens] : {std::pair{"0.1.0", false}, {"0.0.9", true}, {"9.0", true}}) {
        SCOPED_TRACE(stored);
        auto shown = makeWindow();
        kit::UserDefaults::standard().setObject(kit::PropertyList(stored), versionKey);
        std::optional<std::string> versionWhenShown;
        world().setWindowEventObserver([&versionWhenShown, &shown](const headless::WindowEvent& event) {
            if (event.kind == headless::WindowEvent::Kind::Created && event.window != shown.get()) {
                versionWhenShown = storedVersion();
            }
        });
        shown->makeKeyAndOrderFront(nullptr);
        world().setWindowEventObserver(nullptr);
        EXPECT_EQ(shown->adPopover() != nullptr, opens);
        EXPECT_EQ(storedVersion(), "0.1.0");
        if (opens) {
            EXPECT_EQ(versionWhenShown, "0.1.0") << "written before the popover opened";
        }
    }
}

TEST_F(KRAdButtonWindowTest, ABundleWithoutAVersionNeverOpensItByItself) {
    window.reset();
    TemporaryFolder bundle;
    bundle.write("Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleName</key><string>Awning</string></dict></plist>)");
    headless::HeadlessHost::Options options;
    options.bundleDirectory = bundle.path();
    headless::HeadlessHost host(options);
    auto versionless = makeWindow();
    versionless->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(versionless->adPopover(), nullptr);
    EXPECT_EQ(storedVersion(), std::nullopt);
}

TEST_F(KRAdButtonWindowTest, LaysThePopoverOutAroundTheMeasuredMessage) {
    const KRAdButtonWindow::PopoverLayout layout = KRAdButtonWindow::popoverLayout(22, kit::Size{120, 50});
    EXPECT_EQ(layout.content, kit::Rect(0, 0, 180, 112));
    EXPECT_EQ(layout.button, kit::Rect(10, 10, 160, 22));
    EXPECT_EQ(layout.message, kit::Rect(15, 47, 120, 50));

    window->makeKeyAndOrderFront(nullptr);
    const auto& field = static_cast<const kit::TextField&>(*popoverContent().subviews().front());
    const double buttonHeight = websiteButton().frame().height();
    EXPECT_EQ(buttonHeight, 28) << "a large button on newer systems";
    EXPECT_EQ(field.frame().minY(), buttonHeight + 25);
    EXPECT_LE(field.frame().width(), 150);
    EXPECT_EQ(popoverContent().frame(), kit::Rect(0, 0, 180, buttonHeight + field.frame().height() + 40));
    EXPECT_EQ(field.attributedStringValue()->string(),
              "Like Awning? There's more where that came from!\n\nOur apps aren't all free, but they're all "
              "useful.");
    const kit::Rect anchor = window->adButton()->convertRectToWindow(window->adButton()->bounds());
    EXPECT_EQ(window->adPopover()->window()->frame().maxY(), window->frame().minY() + anchor.minY())
        << "opens below the button";
    EXPECT_EQ(window->adPopover()->window()->parentWindow(), window.get())
        << "belongs to the window it points into (a popup of it where the compositor places windows)";
}

}  // namespace
