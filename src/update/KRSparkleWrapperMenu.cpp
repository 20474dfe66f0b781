#include "update/KRSparkleWrapper.h"

#include "kit/appkit/Button.h"
#include "kit/appkit/MenuItem.h"
#include "kit/appkit/View.h"
#include "kit/appkit/Workspace.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/Null.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/URL.h"
#include "toolkit/FlatUserInterfaceDrawing.h"
#include "update/ProductPage.h"

namespace {

constexpr const char* checkSymbol = "arrow.clockwise";
constexpr const char* automaticSymbol = "binoculars";
constexpr const char* upToDateBadge = "\u2713";

bool showsBadges() {
    return kit::SystemVersion::current().isAtLeast(14);
}

// The tool tip of a sender that has one (a view or a menu item); nullopt for one that has none.
std::optional<std::string> toolTipOf(const kit::Object* sender) {
    if (const auto* view = dynamic_cast<const kit::View*>(sender)) {
        return view->toolTip();
    }
    if (const auto* item = dynamic_cast<const kit::MenuItem*>(sender)) {
        return item->toolTip();
    }
    return std::nullopt;
}

kit::MenuItem& addInformationalItem(kit::Menu& menu, const std::string& title) {
    kit::MenuItem& item = menu.addItemWithTitle(title, {}, "");
    item.setTarget(&kit::Null::null());
    return item;
}

}  // namespace

std::unique_ptr<kit::MenuItem> KRSparkleWrapper::controlsSubmenuItem() {
    auto item = std::make_unique<kit::MenuItem>(kit::localized("Updates"), kit::Selector{}, "");
    auto submenu = std::make_unique<kit::Menu>("Sparkle");
    submenu->setDelegate(this);
    item->setSubmenu(std::move(submenu));
    setMacOS26ImageWithSystemSymbolName(*item, checkSymbol);
    return item;
}

void KRSparkleWrapper::menuNeedsUpdate(kit::Menu& menu) {
    // Everything below the last item a caller placed (a positive tag) is rebuilt.
    while (menu.numberOfItems() > 0 && menu.itemAtIndex(menu.numberOfItems() - 1)->tag() <= 0) {
        menu.removeItemAtIndex(menu.numberOfItems() - 1);
    }
    appendStatusLines(menu);
    kit::MenuItem& checkNow =
        menu.addItemWithTitle(kit::localized("Check Now..."), kit::sel("checkForUpdates:"), "");
    checkNow.setTarget(this);
    checkNow.setTag(-1);
    kit::MenuItem& automatic = menu.addItemWithTitle(kit::localized("Check Automatically"),
                                                     kit::sel("toggleAutomaticChecking:"), "");
    automatic.setTarget(this);
    if (updater().automaticallyChecksForUpdates()) {
        automatic.setState(kit::ControlStateValue::On);
    }
}

void KRSparkleWrapper::appendStatusLines(kit::Menu& menu) {
    std::string updateVersion;
    const std::optional<std::string> sentence = statusDescriptionWithUpdateVersion(&updateVersion);
    const std::optional<std::string> date = statusDateDescription();
    if (!sentence || sentence->empty() || !date || date->empty()) {
        return;
    }
    kit::MenuItem& dateLine = addInformationalItem(menu, *date);
    if (showsBadges()) {
        dateLine.setBadge(kit::MenuItemBadge{updateVersion.empty() ? upToDateBadge : updateVersion});
    } else {
        addInformationalItem(menu, *sentence);
    }
    menu.addItem(kit::MenuItem::separatorItem());
}

bool KRSparkleWrapper::validateMenuItem(kit::MenuItem& item) {
    if (item.action() == kit::sel("checkForUpdates:")) {
        setMacOS26ImageWithSystemSymbolName(item, checkSymbol);
        if (showsBadges() && item.tag() == 0) {
            std::string updateVersion;
            if (statusDescriptionWithUpdateVersion(&updateVersion) && !updateVersion.empty()) {
                item.setBadge(kit::MenuItemBadge{updateVersion});
            }
        }
    } else if (item.action() == kit::sel("toggleAutomaticChecking:")) {
        setMacOS26ImageWithSystemSymbolName(item, automaticSymbol);
    }
    return true;
}

bool KRSparkleWrapper::canCheck() {
    return !updater().updateInProgress();
}

void KRSparkleWrapper::checkForUpdates(kit::Object* sender) {
    updater().checkForUpdates(sender);
}

void KRSparkleWrapper::toggleAutomaticChecking(kit::Object* sender) {
    const bool checks = !updater().automaticallyChecksForUpdates();
    updater().setAutomaticallyChecksForUpdates(checks);
    // A switch that sent the action has already taken its new state.
    if (autoUpdateCheckingSwitch && sender != autoUpdateCheckingSwitch) {
        autoUpdateCheckingSwitch->setState(checks ? kit::ControlStateValue::On : kit::ControlStateValue::Off);
    }
}

void KRSparkleWrapper::visitProductPage(kit::Object* sender) {
    const std::optional<std::string> toolTip = toolTipOf(sender);
    if (!toolTip) {
        kit::beep();
        return;
    }
    const std::string address = toolTip->empty() ? productPageAddress(relevantBundle()) : *toolTip;
    const std::optional<kit::URL> url = address.empty() ? std::nullopt : kit::URL::URLWithString(address);
    if (!url || !kit::Workspace::shared().openURL(url->absoluteString())) {
        kit::beep();
    }
}
