#include "tint/KRTintWindow.h"

#include <optional>
#include <variant>

#include "kit/appkit/Archiver.h"
#include "kit/foundation/UserDefaults.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintView.h"

namespace {

const std::string topColorKey = "Top Color";
const std::string centerColorKey = "Center Color";
const std::string bottomColorKey = "Bottom Color";

std::string perPictureKey(const std::string& colorKey, const std::string& desktopKey) {
    return colorKey + ": " + desktopKey;
}

}  // namespace

std::unique_ptr<KRTintWindow> KRTintWindow::newTintWindowWithFrame(const kit::Rect& frame) {
    auto window = std::make_unique<KRTintWindow>(frame, kit::WindowStyleMaskBorderless,
                                                 kit::BackingStoreType::Buffered, false);
    window->setReleasedWhenClosed(false);
    window->setOpaque(false);
    window->setBackgroundColor(kit::Color::clear());
    window->setAlphaValue(0.0);
    window->setHasShadow(false);
    window->setContentView(KRTintView::initWithFrame(kit::Rect(kit::Point{}, frame.size)));
    window->setLevel(tintWindowLevel);
    return window;
}

void KRTintWindow::setColor(const kit::Color& color, const std::string& key) {
    const std::optional<kit::PropertyList::Data> data = kit::archivedDataWithRootObject(color);
    if (!data) {
        return;
    }
    kit::UserDefaults& defaults = kit::UserDefaults::standard();
    if (const auto& desktopKey = currentDesktopKey()) {
        defaults.setObject(*data, perPictureKey(key, *desktopKey));
    }
    defaults.setObject(*data, key);
}

kit::Color KRTintWindow::colorForKey(const std::string& key, double defaultAlpha) {
    const kit::Color fallback = kit::Color::calibratedWhite(0.0, defaultAlpha);
    const kit::UserDefaults& defaults = kit::UserDefaults::standard();
    std::optional<kit::PropertyList> stored;
    if (const auto& desktopKey = currentDesktopKey()) {
        stored = defaults.objectForKey(perPictureKey(key, *desktopKey));
    }
    if (!stored) {
        stored = defaults.objectForKey(key);
    }
    if (!stored || !stored->data()) {
        return fallback;
    }
    // Anything but an archived colour (a damaged value, another object) shows the default and stays stored.
    const std::optional<kit::ArchivedObject> object = kit::unarchiveObjectWithData(*stored->data());
    if (!object || !std::holds_alternative<kit::Color>(*object)) {
        return fallback;
    }
    return std::get<kit::Color>(*object);
}

void KRTintWindow::setTopColor(const kit::Color& color) {
    setColor(color, topColorKey);
}
void KRTintWindow::setCenterColor(const kit::Color& color) {
    setColor(color, centerColorKey);
}
void KRTintWindow::setBottomColor(const kit::Color& color) {
    setColor(color, bottomColorKey);
}
kit::Color KRTintWindow::topColor() {
    return colorForKey(topColorKey, 0.0);
}
kit::Color KRTintWindow::centerColor() {
    return colorForKey(centerColorKey, 0.2);
}
kit::Color KRTintWindow::bottomColor() {
    return colorForKey(bottomColorKey, 1.0);
}
