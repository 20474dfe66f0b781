#include "toolkit/ToolkitClasses.h"

#include "kit/appkit/InterfaceFile.h"
#include "toolkit/KRSizeToFitBox.h"
#include "toolkit/KRSizeToFitButton.h"
#include "toolkit/KRSizeToFitPopUpButton.h"
#include "toolkit/KRSizeToFitSlider.h"
#include "toolkit/KRSizeToFitStaticButton.h"
#include "toolkit/KRSizeToFitStaticPopUpButton.h"
#include "toolkit/KRSizeToFitTextField.h"
#include "toolkit/KRSizeToFitView.h"

namespace {

template <class PopUp>
void registerPopUpClass(const char* name) {
    kit::ClassRegistry::registerFactory(name, [] {
        return kit::ClassRegistry::Made{std::make_unique<PopUp>(kit::Rect{}, false), nullptr};
    });
}

}  // namespace

void registerToolkitClasses() {
    kit::ClassRegistry::registerClass<KRSizeToFitView>("KRSizeToFitView");
    kit::ClassRegistry::registerClass<KRSizeToFitBox>("KRSizeToFitBox");
    kit::ClassRegistry::registerClass<KRSizeToFitTextField>("KRSizeToFitTextField");
    kit::ClassRegistry::registerClass<KRSizeToFitStaticButton>("KRSizeToFitStaticButton");
    kit::ClassRegistry::registerClass<KRSizeToFitButton>("KRSizeToFitButton");
    kit::ClassRegistry::registerClass<KRSizeToFitSlider>("KRSizeToFitSlider");
    registerPopUpClass<KRSizeToFitStaticPopUpButton>("KRSizeToFitStaticPopUpButton");
    registerPopUpClass<KRSizeToFitPopUpButton>("KRSizeToFitPopUpButton");
}
