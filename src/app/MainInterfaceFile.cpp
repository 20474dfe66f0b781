#include "app/MainInterfaceFile.h"

#include "app/KRMainController.h"
#include "kit/appkit/InterfaceFile.h"

void registerInterfaceFiles() {
    kit::InterfaceFile::registerBuilder(std::string(kit::InterfaceFile::mainInterfaceFileName),
                                        [](kit::Object*) {
                                            auto controller = std::make_shared<KRMainController>();
                                            kit::Application::shared().setDelegate(controller.get());
                                            return std::vector<std::shared_ptr<kit::Object>>{controller};
                                        });
}
