#include "statusitem/KRStatusItemController.h"

#include <algorithm>

#include "kit/appkit/Application.h"
#include "kit/appkit/Menu.h"
#include "kit/appkit/StatusBar.h"
#include "kit/appkit/StatusItem.h"
#include "kit/appkit/Workspace.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Image.h"

namespace {

constexpr double legacyPadding = 8.0;
constexpr double widestItem = 100.0;

// The wished width from the defaults, never above the widest item; the image's width when it wishes less.
double itemLength(const kit::Image* image) {
    double minimum = image ? image->size().width : 0.0;
    if (!kit::SystemVersion::current().isAtLeast(11)) {
        minimum += legacyPadding;
    }
    const auto wished = static_cast<double>(kit::UserDefaults::standard().integerForKey("KRStatusItemWidth"));
    return wished < minimum ? minimum : std::min(wished, widestItem);
}

std::string bundleString(const char* key) {
    return kit::Bundle::main().infoString(key).value_or("");
}

}  // namespace

KRStatusItemController& KRStatusItemController::defaultController() {
    static auto* controller = [] {
        // The status bar is made first, so that it outlives the controller when a process ends.
        kit::StatusBar::systemStatusBar();
        return new kit::ProcessLocal<KRStatusItemController>(
            [] { return std::unique_ptr<KRStatusItemController>(new KRStatusItemController); });
    }();
    return controller->get();
}

KRStatusItemController::~KRStatusItemController() {
    setStatusItemEnabled(false, nullptr, nullptr, nullptr, false);
}

void KRStatusItemController::setStatusItemEnabled(bool enabled, std::shared_ptr<kit::Image> image,
                                                  std::shared_ptr<kit::Image> alternateImage,
                                                  kit::MenuDelegate* menuDelegate,
                                                  bool activateAfterDisabling) {
    if (enabled) {
        enable(std::move(image), std::move(alternateImage), menuDelegate);
    } else {
        disable(activateAfterDisabling);
    }
}

void KRStatusItemController::setStatusItemEnabled(bool enabled, std::shared_ptr<kit::Image> image,
                                                  std::shared_ptr<kit::Image> alternateImage,
                                                  kit::MenuDelegate* menuDelegate) {
    setStatusItemEnabled(enabled, std::move(image), std::move(alternateImage), menuDelegate, true);
}

void KRStatusItemController::setStatusItemEnabled(bool enabled, kit::MenuDelegate* menuDelegate) {
    setStatusItemEnabled(enabled, nullptr, nullptr, menuDelegate);
}

void KRStatusItemController::setStatusItemEnabled(bool enabled) {
    setStatusItemEnabled(enabled, nullptr);
}

kit::Window* KRStatusItemController::statusItemWindow() const {
    if (!_statusItem) {
        return nullptr;
    }
    return _statusItem->respondsToButton() ? _statusItem->buttonWindow() : _statusItem->legacyWindow();
}

void KRStatusItemController::enable(std::shared_ptr<kit::Image> image,
                                    std::shared_ptr<kit::Image> alternateImage,
                                    kit::MenuDelegate* menuDelegate) {
    if (!image) {
        image = kit::Image::imageNamed("KRStatusItemTemplate");
    }
    if (!alternateImage) {
        alternateImage = kit::Image::imageNamed("KRStatusItemAlternate");
    }
    if (_statusItem) {
        updateInPlace(image, alternateImage, menuDelegate);
        return;
    }
    _statusItem = kit::StatusBar::systemStatusBar().statusItemWithLength(itemLength(image.get()));
    if (_statusItem->respondsToAutosaveName()) {
        _statusItem->setAutosaveName(bundleString("CFBundleIdentifier") + ".StatusItem");
    }
    _statusItem->setImage(std::move(image));
    _statusItem->setAlternateImage(std::move(alternateImage));
    _statusItem->setHighlightMode(true);
    if (menuDelegate) {
        auto menu = std::make_shared<kit::Menu>(bundleString("CFBundleName") + " Status Item");
        menu->setDelegate(menuDelegate);
        _statusItem->setMenu(std::move(menu));
    }
}

void KRStatusItemController::updateInPlace(const std::shared_ptr<kit::Image>& image,
                                           const std::shared_ptr<kit::Image>& alternateImage,
                                           kit::MenuDelegate* menuDelegate) {
    if (_statusItem->image() != image) {
        _statusItem->setImage(image);
    }
    if (_statusItem->alternateImage() != alternateImage) {
        _statusItem->setAlternateImage(alternateImage);
    }
    if (const auto& menu = _statusItem->menu(); menu && menu->delegate() != menuDelegate) {
        menu->setDelegate(menuDelegate);
    }
}

void KRStatusItemController::disable(bool activateAfterDisabling) {
    if (!_statusItem) {
        return;
    }
    kit::NotificationCenter::defaultCenter().removeObserver(*this);
    kit::Workspace::shared().notificationCenter().removeObserver(*this);
    kit::StatusBar::systemStatusBar().removeStatusItem(*_statusItem);
    _statusItem.reset();
    if (activateAfterDisabling) {
        kit::Application::shared().activateIgnoringOtherApps(true);
    }
}
