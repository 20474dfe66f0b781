#include <gtest/gtest.h>

#include "app/MainInterfaceFile.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Color.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "support/TintOverlayTest.h"
#include "tint/KRTintView.h"

class StartupTest : public TintOverlayTest {};

TEST_F(StartupTest, TheMainInterfaceFileMakesOneControllerAsDelegateAndLaunchRunsTheFirstCheck) {
    registerInterfaceFiles();
    showMenuBar();
    EXPECT_TRUE(kit::Color::ignoresAlpha()) << "the platform's default before launch";
    char name[] = "awning";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(kit::applicationMain(1, argv), 0);

    auto* delegate = dynamic_cast<KRMainController*>(kit::Application::shared().delegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_FALSE(kit::Color::ignoresAlpha()) << "colour wells carry opacity";
    EXPECT_TRUE(delegate->isMenuBarVisible()) << "the first check ran during launch";
    EXPECT_NE(delegate->tintWindow(), nullptr);
    EXPECT_EQ(kit::RunLoop::main().pendingCount(*delegate, checkSelector), 1u);
    EXPECT_EQ(kit::NotificationCenter::workspaceCenter().observerCount(), 2u);
    // A first start: the tint window, the settings window and the popover its "Hi!" button opened.
    EXPECT_EQ(kit::Application::shared().windows().size(), 3u);
}

// Later starts, with and without "Show Settings On Launch", are rows of the bad-defaults table.
TEST_F(StartupTest, TheFirstStartShowsTheSettingsWindowAndRemembersIt) {
    launch(false);
    EXPECT_EQ(world().activationCount(), 1u);
    EXPECT_TRUE(kit::UserDefaults::standard().boolForKey("Shown Settings"));
}

TEST_F(StartupTest, ReopenShowsSettingsEveryTimeAndDeclinesThePlatformsHandling) {
    launch();
    EXPECT_FALSE(controller().applicationShouldHandleReopen(kit::Application::shared(), true));
    EXPECT_FALSE(controller().applicationShouldHandleReopen(kit::Application::shared(), false));
    EXPECT_EQ(world().activationCount(), 2u);
}

TEST_F(StartupTest, PillDefaultsAreReadAtStartUpNotWhenTheFirstTintAppears) {
    // The bar is hidden at launch, so no tint view exists yet when the user writes "Pills".
    hideMenuBar();
    launch();
    kit::UserDefaults::standard().setBool(true, "Pills");
    showMenuBar();
    world().advance(2.0);
    ASSERT_NE(controller().tintWindow(), nullptr);
    EXPECT_FALSE(KRTintView::pillsEnabled()) << "applies at the next start";

    restart();
    KRMainController next;
    next.applicationDidFinishLaunching(nullptr);
    EXPECT_TRUE(KRTintView::pillsEnabled());
    EXPECT_TRUE(KRTintView::detailedPillsEnabled());
}
