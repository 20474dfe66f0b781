#pragma once

#include "kit/appkit/ControlPort.h"

namespace qthost {

// Measures controls as the widgets that present them, in the desktop's style and fonts, so a control
// sized to fit never clips; pop-up menus are real QMenus.
class QtControlPort final : public kit::ControlPort {
public:
    kit::Size cellSize(const kit::Control& control) override;
    kit::Rect titleRect(const kit::Control& control, const kit::Rect& bounds) override;
    kit::Size sizeOfString(std::string_view text, const kit::Font& font) override;
    std::optional<std::size_t> trackMenu(const kit::PopUpButton& button) override;
};

}  // namespace qthost
