#include "app/MainInterfaceFile.h"

#include "about/KRAboutPanelManager.h"
#include "about/KRAdButtonWindow.h"
#include "app/KRMainController.h"
#include "app/SettingsInterfaceFile.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/Menu.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/StringFormat.h"
#include "toolkit/ToolkitClasses.h"
#include "update/KRSparkleWrapper.h"
#include "update/UpdateClasses.h"

namespace {

// The application menu: About, Settings…, the "Updates" submenu and "Check for Updates…", Quit.
std::unique_ptr<kit::Menu> makeMainMenu(KRMainController* controller, KRSparkleWrapper* updates,
                                        KRAboutPanelManager* about) {
    const std::optional<std::string> name = kit::Bundle::main().infoString("CFBundleName");
    auto applicationMenu = std::make_unique<kit::Menu>(name.value_or(""));
    applicationMenu
        ->addItemWithTitle(kit::stringWithFormat(kit::localized("About %@"), {name}),
                           kit::sel("orderFrontStandardAboutPanel:"), "")
        .setTarget(about);
    applicationMenu->addItem(kit::MenuItem::separatorItem());
    applicationMenu->addItemWithTitle(kit::localized("Settings…"), kit::sel("positionSettingsWindow"), ",")
        .setTarget(controller);
    applicationMenu->addItem(kit::MenuItem::separatorItem());
    applicationMenu->addItem(updates->controlsSubmenuItem());
    kit::MenuItem& check = applicationMenu->addItemWithTitle(kit::localized("Check for Updates…"),
                                                             kit::sel("checkForUpdates:"), "");
    check.setTarget(updates);
    check.setTag(0);
    applicationMenu->addItem(kit::MenuItem::separatorItem());
    applicationMenu->addItemWithTitle(kit::stringWithFormat(kit::localized("Quit %@"), {name}),
                                      kit::sel("terminate:"), "q");

    auto mainMenu = std::make_unique<kit::Menu>("Main Menu");
    auto applicationItem = std::make_unique<kit::MenuItem>(name.value_or(""));
    applicationItem->setSubmenu(std::move(applicationMenu));
    mainMenu->addItem(std::move(applicationItem));
    return mainMenu;
}

}  // namespace

void registerInterfaceFiles() {
    registerToolkitClasses();
    registerUpdateClasses();
    kit::InterfaceFile::registerBuilder("Settings", &buildSettingsInterfaceFile);
    kit::ClassRegistry::registerClass<KRMainController>("KRMainController");
    // About panel and promotion
    kit::ClassRegistry::registerSharedClass<KRAboutPanelManager>("KRAboutPanelManager",
                                                                 &KRAboutPanelManager::aboutPanelManager);
    kit::ClassRegistry::registerFactory("KRAdButtonWindow", [] {
        return kit::ClassRegistry::Made{
            std::make_unique<KRAdButtonWindow>(kit::Rect{},
                                               kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                                               kit::BackingStoreType::Buffered, true),
            nullptr};
    });
    kit::InterfaceFile::registerBuilder(
        std::string(kit::InterfaceFile::mainInterfaceFileName),
        [](kit::InterfaceBuilder& file, kit::Object*) {
            auto* controller = file.make<KRMainController>("KRMainController");
            auto* updates = file.make<KRSparkleWrapper>("KRSparkleWrapper");
            auto* about = file.make<KRAboutPanelManager>("KRAboutPanelManager");
            file.connect([controller] { kit::Application::shared().setDelegate(controller); });
            file.connect([controller, updates, about] {
                kit::Menu::setMainMenu(makeMainMenu(controller, updates, about));
            });
        });
}
