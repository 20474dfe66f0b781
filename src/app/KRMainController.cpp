#include "app/KRMainController.h"

#include <cmath>
#include <string>

#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Color.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Screen.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/Window.h"
#include "kit/appkit/Workspace.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/quartz/WindowList.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintView.h"
#include "tint/KRTintWindow.h"
#include "update/KRSparkleWrapper.h"

namespace {

const kit::Selector checkSelector = kit::sel("updateMenuBarVisibilityAndColorsKey:");
const kit::Selector layoutSelector = kit::sel("positionTintWindow:");

constexpr std::uint32_t windowListOptions =
    kit::WindowListOptionOnScreenOnly | kit::WindowListExcludeDesktopElements;
const std::string menuBarOwner = "Window Server";
constexpr std::string_view menuBarNameSuffix = "menubar";
constexpr double visibilityThreshold = 1.1920928955078125e-07;  // single-precision epsilon
const std::string unknownDesktopKey = "(Unknown)";
const std::string checkIntervalKey = "Menu Bar State Check Interval";
constexpr double defaultCheckPeriod = 2.0;
constexpr double smallestCheckPeriod = 0.1;
constexpr double layoutPeriod = 0.2;
constexpr double hoverMargin = 1.0;
constexpr double opacityThreshold = 0.001;
constexpr double fadeDuration = 0.15;
// Made once: a check looks them up in every window-list entry, and the longer ones would otherwise be
// allocated for each lookup.
const std::string ownerNameKey = kit::WindowOwnerName;
const std::string windowNameKey = kit::WindowName;
const std::string isOnscreenKey = kit::WindowIsOnscreen;
const std::string boundsKey = kit::WindowBounds;

// ASCII lower-casing is enough: no other character lower-cases into the letters of the suffix.
bool endsWithMenuBar(const std::string& name) {
    if (name.size() < menuBarNameSuffix.size()) {
        return false;
    }
    const std::size_t start = name.size() - menuBarNameSuffix.size();
    for (std::size_t index = 0; index < menuBarNameSuffix.size(); ++index) {
        const char c = name[start + index];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != menuBarNameSuffix[index]) {
            return false;
        }
    }
    return true;
}

// The entry's bounds when it is the primary display's menu-bar window. Bounds (top-left origin) and
// the screen frame (bottom-left origin) are compared as they are: both start at (0, 0) on the primary.
std::optional<kit::Rect> menuBarBounds(const kit::PropertyList& entry, const kit::Rect& primaryFrame) {
    const kit::PropertyList* owner = entry.find(ownerNameKey);
    if (!owner || !owner->string() || *owner->string() != menuBarOwner) {
        return std::nullopt;
    }
    const kit::PropertyList* name = entry.find(windowNameKey);
    if (!name || !name->string() || !endsWithMenuBar(*name->string())) {
        return std::nullopt;
    }
    const kit::PropertyList* onScreen = entry.find(isOnscreenKey);
    if (!onScreen || !onScreen->boolValue().value_or(false)) {
        return std::nullopt;
    }
    const kit::PropertyList* boundsDescription = entry.find(boundsKey);
    kit::Rect bounds;
    if (!boundsDescription || !kit::rectMakeWithDictionaryRepresentation(*boundsDescription, bounds)) {
        return std::nullopt;
    }
    if (!kit::intersectsRect(bounds, primaryFrame)) {
        return std::nullopt;
    }
    return bounds;
}

}  // namespace

KRMainController::KRMainController() = default;

KRMainController::~KRMainController() = default;

const kit::DispatchTable& KRMainController::classDispatchTable() {
    static const kit::DispatchTable table(
        &Object::classDispatchTable(),
        {kit::action<&KRMainController::updateMenuBarVisibilityAndColorsKey>(checkSelector.name()),
         kit::action<&KRMainController::positionTintWindow>(layoutSelector.name()),
         kit::action<&KRMainController::changeAlpha>("changeAlpha:"),
         kit::action<&KRMainController::changeColor>("changeColor:"),
         kit::action<&KRMainController::showStatusItem>("showStatusItem:"),
         kit::action<&KRMainController::changeLaunchAtLogin>("changeLaunchAtLogin:"),
         kit::action<&KRMainController::positionSettingsWindow>("positionSettingsWindow")});
    return table;
}

// --- Application delegate

void KRMainController::applicationDidFinishLaunching(kit::Notification*) {
    // An instance started by a relaunch may have to start once more before it settles in.
    KRSparkleWrapper::relaunchAgainIfAppropriate();
    KRTintView::load();
    // Tints are translucent: colour wells must offer and return alpha.
    kit::Color::setIgnoresAlpha(false);
    kit::UserDefaults& defaults = kit::UserDefaults::standard();
    kit::NotificationCenter& workspaceCenter = kit::Workspace::shared().notificationCenter();
    workspaceCenter.addObserver(*this, checkSelector, kit::WorkspaceActiveSpaceDidChangeNotification);
    workspaceCenter.addObserver(*this, checkSelector, kit::WorkspaceDidActivateApplicationNotification);

    // No loop runs yet, so this nil call starts the check loop rather than a second one.
    updateMenuBarVisibilityAndColorsKey(nullptr);

    if (defaults.boolForKey("Show Settings On Launch") || !defaults.boolForKey("Shown Settings")) {
        positionSettingsWindow();
        defaults.setBool(true, "Shown Settings");
    }

    // Made here, it starts the update machinery by itself on the next turn.
    KRSparkleWrapper::sharedSparkleWrapper();
}

bool KRMainController::applicationShouldHandleReopen(kit::Application&, bool) {
    positionSettingsWindow();
    return false;
}

void KRMainController::applicationDidChangeScreenParameters(kit::Notification* notification) {
    positionTintWindow(notification);
}

// --- Check loop

void KRMainController::updateMenuBarVisibilityAndColorsKey(kit::Object* argument) {
    if (argument) {
        kit::cancelPreviousPerformRequests(*this, checkSelector, nullptr);
    }
    bool visible = false;
    // With no screen there is no primary frame to overlap: the menu bar counts as not visible.
    const std::optional<kit::Screen> primary = kit::Screen::primary();
    if (const std::optional<kit::Rect> bounds =
            primary ? findMenuBarBounds(primary->frame()) : std::nullopt) {
        _menuBarHeight = bounds->height();
        _menuBarMargins = {bounds->minY(), bounds->minX(), 0.0, primary->frame().width() - bounds->maxX()};
        visible = _menuBarHeight > visibilityThreshold;
    }
    const bool pictureChanged = updateDesktopKey();
    const double period = checkPeriod();

    if (visible != _isMenuBarVisible) {
        _isMenuBarVisible = visible;
        positionTintWindow(this);
    } else if (pictureChanged) {
        positionTintWindow(this);
    }
    kit::performSelector(*this, checkSelector, nullptr, period);
}

std::optional<kit::Rect> KRMainController::findMenuBarBounds(const kit::Rect& primaryFrame) const {
    const std::optional<kit::PropertyList::Array> windows =
        kit::windowListCopyWindowInfo(windowListOptions, kit::NullWindowID);
    if (!windows) {
        return std::nullopt;
    }
    for (const kit::PropertyList& entry : *windows) {
        if (const std::optional<kit::Rect> bounds = menuBarBounds(entry, primaryFrame)) {
            return bounds;
        }
    }
    return std::nullopt;
}

// Returns whether the picture changed since the previous check (never on the first one).
bool KRMainController::updateDesktopKey() {
    std::string key = unknownDesktopKey;
    if (const std::optional<kit::Screen> primary = kit::Screen::primary()) {
        const std::optional<std::string> url = kit::Workspace::shared().desktopImageURLForScreen(*primary);
        if (url && !url->empty()) {
            key = *url;
        }
    }
    const std::optional<std::string>& current = currentDesktopKey();
    if (!current) {
        setCurrentDesktopKey(key);
        return false;
    }
    if (key == *current) {
        return false;
    }
    setCurrentDesktopKey(key);
    updateColorWells();
    if (_tintWindow && _tintWindow->contentView()) {
        _tintWindow->contentView()->setNeedsDisplay(true);
    }
    return true;
}

double KRMainController::checkPeriod() const {
    kit::UserDefaults& defaults = kit::UserDefaults::standard();
    const std::optional<kit::PropertyList> stored = defaults.objectForKey(checkIntervalKey);
    const std::optional<double> value = stored ? stored->doubleValue() : std::nullopt;
    if (!value) {
        return defaultCheckPeriod;  // absent, or a kind with no numeric reading: left in place
    }
    // Too short, or not a finite number (NaN or infinity would stop the loop): unusable, so removed.
    if (*value < smallestCheckPeriod || !std::isfinite(*value)) {
        defaults.removeObject(checkIntervalKey);
        return defaultCheckPeriod;
    }
    return *value;
}

// --- Layout loop

void KRMainController::positionTintWindow(kit::Object* argument) {
    if (argument) {
        kit::cancelPreviousPerformRequests(*this, layoutSelector, nullptr);
    }
    if (!_isMenuBarVisible) {
        closeTintWindow();
        return;
    }
    // With no screen for a moment there is nothing to lay out, but the loop goes on.
    if (const std::optional<kit::Screen> primary = kit::Screen::primary()) {
        const kit::Rect strip = menuBarStrip(*primary);
        const bool onActiveSpace = prepareTintWindow(strip);
        const double target = alphaValueWithMouseHovering(isPointerOverStrip(strip));
        if (onActiveSpace && kit::equalRects(_tintWindow->frame(), strip)) {
            applyTintOpacity(target, true);
        } else {
            applyTintOpacity(target, false);
            _tintWindow->setFrame(strip, true, false);
            if (!onActiveSpace) {
                _tintWindow->orderFront(this);
            }
        }
    }
    kit::performSelector(*this, layoutSelector, nullptr, layoutPeriod);
}

void KRMainController::closeTintWindow() {
    if (_tintWindow) {
        _tintWindow->close();
        _tintWindow.reset();
    }
}

// Over the bar itself; for a bar across the top of the screen, the screen's top strip.
kit::Rect KRMainController::menuBarStrip(const kit::Screen& primary) const {
    kit::Rect strip = primary.frame();
    strip.origin.x = strip.origin.x + _menuBarMargins.left;
    strip.size.width = strip.size.width - _menuBarMargins.left - _menuBarMargins.right;
    strip.origin.y = strip.origin.y + strip.size.height - _menuBarMargins.top - _menuBarHeight;
    strip.size.height = _menuBarHeight;
    return strip;
}

bool KRMainController::prepareTintWindow(const kit::Rect& strip) {
    bool onActiveSpace = false;
    if (_tintWindow) {
        onActiveSpace = _tintWindow->isOnActiveSpace();
    } else {
        _tintWindow = KRTintWindow::newTintWindowWithFrame(strip);
    }
    if (_tintWindow->level() != KRTintWindow::tintWindowLevel) {
        _tintWindow->setLevel(KRTintWindow::tintWindowLevel);
    }
    return onActiveSpace;
}

bool KRMainController::isPointerOverStrip(const kit::Rect& strip) const {
    return kit::pointInRect(kit::Event::mouseLocation(), kit::insetRect(strip, -hoverMargin, -hoverMargin));
}

// A change too small to see is not applied: the window server would redraw for nothing five times a second.
void KRMainController::applyTintOpacity(double target, bool fade) {
    if (std::fabs(target - _tintWindow->alphaValue()) <= opacityThreshold) {
        return;
    }
    if (fade) {
        kit::AnimationContext::beginGrouping();
        kit::AnimationContext::currentContext().setDuration(fadeDuration);
        _tintWindow->animator().setAlphaValue(target);
        kit::AnimationContext::endGrouping();
    } else {
        _tintWindow->setAlphaValue(target);
    }
}

double KRMainController::alphaValueWithMouseHovering(bool hovering) const {
    const double fallback = hovering ? 0.0 : 0.2;
    const std::optional<kit::PropertyList> stored =
        kit::UserDefaults::standard().objectForKey(hovering ? "Hover Alpha" : "Idle Alpha");
    // A stored value with no numeric reading (data, a date, a collection) or no finite one falls back and
    // stays stored.
    const std::optional<double> value = stored ? stored->doubleValue() : std::nullopt;
    return value && std::isfinite(*value) ? *value : fallback;
}

// --- Settings window

void KRMainController::positionSettingsWindow() {
    if (!_settingsWindow) {
        loadSettingsWindow();
    }
    showLaunchAtLoginState();
    if (_settingsWindow) {
        if (!_settingsWindow->isVisible()) {
            _settingsWindow->center();
        }
        _settingsWindow->makeKeyAndOrderFront(this);
    }
    kit::Application::shared().activateIgnoringOtherApps(true);
}

// First use: the file's objects live for the rest of the process; a file that cannot be loaded leaves
// every outlet nil, and the steps act on nothing.
void KRMainController::loadSettingsWindow() {
    std::vector<std::shared_ptr<kit::Object>> topLevelObjects;
    const std::unique_ptr<kit::InterfaceFile> file = kit::InterfaceFile::initWithNibNamed("Settings");
    if (file && file->instantiateWithOwner(this, topLevelObjects)) {
        _settingsTopLevelObjects = std::move(topLevelObjects);
    }
    if (_settingsWindow) {
        _settingsWindow->setHidesOnDeactivate(false);
        _settingsWindow->setLevel(kit::NormalWindowLevel);
    }
    if (_showStatusItemButton) {
        _showStatusItemButton->setHidden(true);
    }
    if (_idleAlphaSlider) {
        _idleAlphaSlider->setDoubleValue(alphaValueWithMouseHovering(false));
    }
    if (_hoverAlphaSlider) {
        _hoverAlphaSlider->setDoubleValue(alphaValueWithMouseHovering(true));
    }
    updateColorWells();
    if (kit::SystemVersion::current().isAtLeast(26, 0)) {
        if (_updateSelector) {
            _updateSelector->setFrame(kit::offsetRect(_updateSelector->frame(), 0.0, -1.0));
        }
        if (_showStatusItemButton) {
            _showStatusItemButton->setFrame(kit::offsetRect(_showStatusItemButton->frame(), 1.0, 0.0));
        }
    }
}

// The desktop's own setting is the truth: the user may have changed it elsewhere since.
void KRMainController::showLaunchAtLoginState() {
    if (_launchAtLoginButton) {
        _launchAtLoginButton->setState(kit::Application::shared().launchesAtLogin()
                                           ? kit::ControlStateValue::On
                                           : kit::ControlStateValue::Off);
    }
}

namespace {

bool isShiftHeld() {
    return (kit::Event::modifierFlags() & kit::EventModifierFlagShift) != 0;
}

}  // namespace

void KRMainController::changeAlpha(kit::Object* sender) {
    auto* slider = dynamic_cast<kit::Slider*>(sender);
    if (!slider) {
        return;
    }
    const double value = slider->doubleValue();
    kit::UserDefaults& defaults = kit::UserDefaults::standard();
    if (isShiftHeld()) {
        defaults.setDouble(value, "Idle Alpha");
        defaults.setDouble(value, "Hover Alpha");
        if (kit::Slider* other = slider == _hoverAlphaSlider ? _idleAlphaSlider : _hoverAlphaSlider) {
            other->setDoubleValue(value);
        }
    } else {
        defaults.setDouble(value, slider == _hoverAlphaSlider ? "Hover Alpha" : "Idle Alpha");
    }
    positionTintWindow(slider);
}

void KRMainController::changeColor(kit::Object* sender) {
    auto* well = dynamic_cast<kit::ColorWell*>(sender);
    if (!well) {
        return;
    }
    const kit::Color color = well->color();
    if (isShiftHeld()) {
        KRTintWindow::setTopColor(color);
        KRTintWindow::setCenterColor(color);
        KRTintWindow::setBottomColor(color);
        for (kit::ColorWell* other : {_topColorWell, _centerColorWell, _bottomColorWell}) {
            if (other && other != well) {
                other->setColor(color);
            }
        }
    } else if (well == _topColorWell) {
        KRTintWindow::setTopColor(color);
    } else if (well == _centerColorWell) {
        KRTintWindow::setCenterColor(color);
    } else if (well == _bottomColorWell) {
        KRTintWindow::setBottomColor(color);
    }
    if (_tintWindow && _tintWindow->contentView()) {
        _tintWindow->contentView()->setNeedsDisplay(true);
    }
    positionTintWindow(well);
}

void KRMainController::showStatusItem(kit::Object*) {}

// A refusal leaves the box showing the desktop's real setting, and the user hears it failed.
void KRMainController::changeLaunchAtLogin(kit::Object* sender) {
    auto* button = dynamic_cast<kit::Button*>(sender);
    if (!button) {
        return;
    }
    const bool launches = button->state() == kit::ControlStateValue::On;
    std::string error;
    if (!kit::Application::shared().setLaunchesAtLogin(launches, error)) {
        kit::log("Could not " + std::string(launches ? "add Awning to" : "remove Awning from") +
                 " the programs started at login: " + error);
        kit::beep();
        showLaunchAtLoginState();
    }
}

void KRMainController::updateColorWells() {
    if (_topColorWell) {
        _topColorWell->setColor(KRTintWindow::topColor());
    }
    if (_centerColorWell) {
        _centerColorWell->setColor(KRTintWindow::centerColor());
    }
    if (_bottomColorWell) {
        _bottomColorWell->setColor(KRTintWindow::bottomColor());
    }
}
