#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "kit/geometry/Geometry.h"

namespace kit {

class Control;
class Font;
class PopUpButton;

// What controls need from the machine they are shown on: sizes measured in its fonts and style, and the
// tracking of a pop-up menu. The host answers; the kit decides what to do with the answers.
class ControlPort {
public:
    virtual ~ControlPort() = default;

    // The size `control` needs to show its whole content in its font and control size (NSCell cellSize);
    // a pop-up button is wide enough for its widest item.
    virtual Size cellSize(const Control& control) = 0;
    // Where `control` draws its title when it fills `bounds` (NSCell titleRectForBounds:).
    virtual Rect titleRect(const Control& control, const Rect& bounds) = 0;
    // The size `text` takes on one line in `font`.
    virtual Size sizeOfString(std::string_view text, const Font& font) = 0;
    // Shows `button`'s items and follows the pointer until the user chooses one or dismisses the menu;
    // the chosen item's index, or nullopt.
    virtual std::optional<std::size_t> trackMenu(const PopUpButton& button) = 0;
};

}  // namespace kit
