#include "app/MainInterfaceFile.h"

#include "app/KRMainController.h"
#include "app/SettingsInterfaceFile.h"
#include "kit/appkit/InterfaceFile.h"
#include "toolkit/ToolkitClasses.h"

void registerInterfaceFiles() {
    registerToolkitClasses();
    kit::InterfaceFile::registerBuilder("Settings", &buildSettingsInterfaceFile);
    kit::ClassRegistry::registerClass<KRMainController>("KRMainController");
    kit::InterfaceFile::registerBuilder(
        std::string(kit::InterfaceFile::mainInterfaceFileName),
        [](kit::InterfaceBuilder& file, kit::Object*) {
            auto* controller = file.make<KRMainController>("KRMainController");
            file.connect([controller] { kit::Application::shared().setDelegate(controller); });
        });
}
