#include "toolkit/FlatUserInterfaceDrawing.h"

#include <cmath>
#include <vector>

#include "kit/appkit/Appearance.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Font.h"
#include "kit/appkit/MenuItem.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TabView.h"
#include "kit/appkit/TabViewItem.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/graphics/Image.h"

namespace {

constexpr double baselineTolerance = 0.1;
constexpr double buttonReferenceOff = -0.1;
constexpr double mediumWeight = 0.23;

// A tab view's panes, shown or not; any other view's subviews.
std::vector<kit::View*> viewsToCorrect(kit::View& container) {
    std::vector<kit::View*> views;
    if (auto* tabView = dynamic_cast<kit::TabView*>(&container)) {
        for (kit::TabViewItem* item : tabView->tabViewItems()) {
            views.push_back(item->view());
        }
        return views;
    }
    for (const auto& subview : container.subviews()) {
        views.push_back(subview.get());
    }
    return views;
}

// The title reference for a regular-size button; nullopt for a plain button while its reference is off.
std::optional<double> referenceFor(const kit::View& button, double popUpTitleY, double buttonTitleY) {
    if (dynamic_cast<const kit::PopUpButton*>(&button)) {
        return popUpTitleY;
    }
    return buttonTitleY > buttonReferenceOff ? std::optional(buttonTitleY) : std::nullopt;
}

bool isRegularSizeButton(const kit::View& view) {
    const auto* control = dynamic_cast<const kit::Control*>(&view);
    return control &&
           (dynamic_cast<const kit::Button*>(&view) || dynamic_cast<const kit::PopUpButton*>(&view)) &&
           control->controlSize() == kit::ControlSize::Regular;
}

void moveTitleTo(kit::Control& control, double reference, bool containerFlipped) {
    const double offset = reference - control.titleRectForBounds(control.bounds()).origin.y;
    if (std::abs(offset) <= baselineTolerance) {
        return;
    }
    kit::Rect frame = control.frame();
    frame.origin.y += containerFlipped ? offset : -offset;
    control.setFrame(frame);
}

}  // namespace

bool isInFullyInvertedDarkMode(const kit::View& view, bool defaultValue) {
    if (!kit::SystemVersion::current().isAtLeast(10, 14)) {
        return defaultValue;
    }
    const auto match = view.effectiveAppearance()->bestMatchFromAppearancesWithNames(
        {kit::AppearanceNameAqua, kit::AppearanceNameDarkAqua});
    return match == kit::AppearanceNameDarkAqua;
}

void correctBaselineForLegacyPositionSubviews(kit::View& container, double popUpTitleY, double buttonTitleY) {
    if (container.subviews().empty()) {
        return;
    }
    const bool flipped = container.isFlipped();
    for (kit::View* view : viewsToCorrect(container)) {
        if (!view) {
            continue;
        }
        if (!isRegularSizeButton(*view)) {
            correctBaselineForLegacyPositionSubviews(*view, popUpTitleY, buttonTitleY);
        } else if (const auto reference = referenceFor(*view, popUpTitleY, buttonTitleY)) {
            moveTitleTo(static_cast<kit::Control&>(*view), *reference, flipped);
        }
    }
}

void correctBaselineForLegacyPositionPopUpButtonSubviews(kit::View& container, double popUpTitleY) {
    correctBaselineForLegacyPositionSubviews(container, popUpTitleY, -1.0);
}

bool setMacOS26ImageWithSystemSymbolName(kit::MenuItem& item, const std::optional<std::string>& symbolName,
                                         bool force) {
    if (!symbolName || !kit::SystemVersion::current().isAtLeast(26, 0)) {
        return false;
    }
    if (!force && item.image()) {
        return false;
    }
    const auto symbol = kit::Image::imageWithSystemSymbolName(*symbolName, *symbolName);
    if (!symbol) {
        return false;
    }
    item.setImage(symbol->imageWithSymbolConfiguration({kit::Font::systemFontSize(), mediumWeight}));
    return true;
}
