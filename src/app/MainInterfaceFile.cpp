#include "app/MainInterfaceFile.h"

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
std::unique_ptr<kit::Menu> makeMainMenu(KRMainController* controller, KRSparkleWrapper* updates) {
    const std::optional<std::string> name = kit::Bundle::main().infoString("CFBundleName");
    auto applicationMenu = std::make_unique<kit::Menu>(name.value_or(""));
    applicationMenu->addItemWithTitle(kit::stringWithFormat(kit::localized("About %@"), {name}),
                                      kit::sel("orderFrontStandardAboutPanel:"), "");
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
    kit::InterfaceFile::registerBuilder(
        std::string(kit::InterfaceFile::mainInterfaceFileName),
        [](kit::InterfaceBuilder& file, kit::Object*) {
            auto* controller = file.make<KRMainController>("KRMainController");
            auto* updates = file.make<KRSparkleWrapper>("KRSparkleWrapper");
            file.connect([controller] { kit::Application::shared().setDelegate(controller); });
            file.connect(
                [controller, updates] { kit::Menu::setMainMenu(makeMainMenu(controller, updates)); });
        });
}
