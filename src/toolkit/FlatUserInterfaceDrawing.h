#pragma once

#include <optional>
#include <string>

namespace kit {
class MenuItem;
class View;
}  // namespace kit

// Small additions to views and menu items for a flat look (the KRFlatUserInterfaceDrawing category).

// Whether `view` is drawn in the dark appearance; `defaultValue` on systems before appearances existed.
bool isInFullyInvertedDarkMode(const kit::View& view, bool defaultValue = false);

// Moves the regular-size buttons and pop-up buttons inside `container` (through plain views and every
// tab of a tab view) up or down so that their titles sit at `popUpTitleY` and `buttonTitleY` in their
// own coordinates. A button reference of -0.1 or less leaves plain buttons alone.
void correctBaselineForLegacyPositionSubviews(kit::View& container, double popUpTitleY, double buttonTitleY);
// The same for pop-up buttons only.
void correctBaselineForLegacyPositionPopUpButtonSubviews(kit::View& container, double popUpTitleY);

// Gives `item` the system symbol `symbolName` at the system font's size, medium weight, on systems that
// show symbols in menus; keeps an image the item has unless `force`. True when an image was set.
bool setMacOS26ImageWithSystemSymbolName(kit::MenuItem& item, const std::optional<std::string>& symbolName,
                                         bool force = false);
