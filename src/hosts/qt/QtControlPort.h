#pragma once

#include "kit/appkit/ControlPort.h"

namespace qthost {

// Measures controls with the desktop's fonts. Until controls have their own widgets, a control's size is
// its text measured with QFontMetrics plus a fixed allowance for its frame; pop-up menus are real QMenus.
class QtControlPort final : public kit::ControlPort {
public:
    kit::Size cellSize(const kit::Control& control) override;
    kit::Rect titleRect(const kit::Control& control, const kit::Rect& bounds) override;
    kit::Size sizeOfString(std::string_view text, const kit::Font& font) override;
    std::optional<std::size_t> trackMenu(const kit::PopUpButton& button) override;
};

}  // namespace qthost
