#include "app/MainInterfaceFile.h"

#include "about/KRAboutPanelManager.h"
#include "about/KRAdButtonWindow.h"
#include "app/KRMainController.h"
#include "app/SettingsInterfaceFile.h"
#include "kit/appkit/InterfaceFile.h"
#include "toolkit/ToolkitClasses.h"

void registerInterfaceFiles() {
    registerToolkitClasses();
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
            file.connect([controller] { kit::Application::shared().setDelegate(controller); });
        });
}
