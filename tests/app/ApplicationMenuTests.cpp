#include <gtest/gtest.h>

#include "about/KRAboutPanelManager.h"
#include "app/MainInterfaceFile.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/Menu.h"
#include "kit/appkit/PopUpButton.h"
#include "support/TintOverlayTest.h"
#include "update/KRSparkleWrapper.h"

class ApplicationMenuTest : public TintOverlayTest {};

TEST_F(ApplicationMenuTest, TheApplicationMenuOffersSettingsUpdatesAndQuitAndLaunchStartsTheUpdater) {
    registerInterfaceFiles();
    char name[] = "awning";
    char* argv[] = {name, nullptr};
    kit::applicationMain(1, argv);
    KRSparkleWrapper& updates = KRSparkleWrapper::sharedSparkleWrapper();
    EXPECT_EQ(updates.updater().delegate(), nullptr) << "it starts itself on the next turn";
    world().runUntilIdle();
    EXPECT_EQ(updates.updater().delegate(), &updates);

    ASSERT_NE(kit::Menu::mainMenu(), nullptr);
    kit::Menu* menu = kit::Menu::mainMenu()->itemAtIndex(0)->submenu();
    ASSERT_NE(menu, nullptr);
    menu->update();
    // Each command as "title | action | key", a submenu's item with "▸".
    std::vector<std::string> lines;
    for (const kit::MenuItem* item : menu->itemArray()) {
        if (!item->isSeparatorItem()) {
            lines.push_back(item->title() + " | " + (item->action() ? item->action().name() : "") + " | " +
                            item->keyEquivalent() + (item->submenu() ? " ▸" : ""));
        }
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"About Awning | orderFrontStandardAboutPanel: | ",
                                               "Settings… | positionSettingsWindow | ,", "Updates |  |  ▸",
                                               "Check for Updates… | checkForUpdates: | ",
                                               "Quit Awning | terminate: | q"}));
    kit::MenuItem* about = menu->itemAtIndex(0);
    EXPECT_EQ(about->target(), &KRAboutPanelManager::aboutPanelManager());
    EXPECT_TRUE(about->isEnabled());
    EXPECT_TRUE(menu->itemAtIndex(menu->numberOfItems() - 1)->isEnabled()) << "the application answers Quit";
    kit::MenuItem* check = menu->itemAtIndex(5);
    EXPECT_EQ(check->tag(), 0);
    EXPECT_EQ(check->target(), &updates);
    EXPECT_TRUE(check->isEnabled());
    EXPECT_EQ(menu->itemAtIndex(4)->submenu()->delegate(), &updates);

    kit::MenuItem* settings = menu->itemAtIndex(2);
    EXPECT_TRUE(settings->isEnabled());
    world().clearShownStateChanges();
    const std::size_t activations = world().activationCount();
    settings->sendAction();
    EXPECT_EQ(world().activationCount(), activations + 1) << "the settings window comes forward";
}

TEST_F(ApplicationMenuTest, TheSettingsWindowsUpdateMenuSendsItsCommandsToTheWrapper) {
    registerInterfaceFiles();
    launch(false);
    kit::PopUpButton* updates = controller().settingsOutlets().updateSelector;
    ASSERT_NE(updates, nullptr);
    EXPECT_TRUE(updates->pullsDown());
    EXPECT_TRUE(updates->isEnabled());
    world().controlPort().setNextMenuChoice(2);
    updates->mouseDown(kit::Event());
    EXPECT_EQ(world().openedURLs(), std::vector<std::string>{"https://larkspur.example/awning"});
}
