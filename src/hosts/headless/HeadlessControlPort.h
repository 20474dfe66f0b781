#pragma once

#include <cstddef>
#include <map>
#include <optional>

#include "kit/appkit/ControlPort.h"

namespace headless {

// Measures with fixed, documented metrics so that layouts come out the same everywhere, and tracks menus
// by a choice the test scripted beforehand.
//
// Text: each character (code point) is half the point size wide; a line is the point size plus 3 high.
// Controls add fixed chrome to their text: a push button 28 wide, a check box 22, a pop-up button 30
// (around its widest item), a label 4, a bezeled or bordered field 8 wide and 6 high. Buttons and pop-up
// buttons are 22, 19, 16 or 28 high by control size (regular, small, mini, large). Other controls keep
// their frame size. A size scripted for a control wins over all of this.
class HeadlessControlPort final : public kit::ControlPort {
public:
    // `control` measures `size` from now on (the object, by address).
    void setCellSize(const kit::Control& control, kit::Size size) { _cellSizes[&control] = size; }
    // The next menu tracked chooses the item at `index` (nullopt: the user dismisses it); used once.
    void setNextMenuChoice(std::optional<std::size_t> index) { _nextMenuChoice = index; }
    std::size_t menuTrackingCount() const { return _menuTrackings; }

    kit::Size cellSize(const kit::Control& control) override;
    kit::Rect titleRect(const kit::Control& control, const kit::Rect& bounds) override;
    kit::Size sizeOfString(std::string_view text, const kit::Font& font) override;
    std::optional<std::size_t> trackMenu(const kit::PopUpButton& button) override;

private:
    // How far a control's title sits from its left and right edges, and how tall the control is.
    struct Chrome {
        double leading;
        double trailing;
        double height;
    };
    Chrome chrome(const kit::Control& control);
    // The text a control's natural width is made of: its title, value or widest item.
    double contentWidth(const kit::Control& control);

    std::map<const kit::Control*, kit::Size> _cellSizes;
    std::optional<std::size_t> _nextMenuChoice;
    std::size_t _menuTrackings = 0;
};

}  // namespace headless
