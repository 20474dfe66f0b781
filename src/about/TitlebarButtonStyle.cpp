#include "about/TitlebarButtonStyle.h"

#include "kit/appkit/Font.h"

TitlebarButtonStyle TitlebarButtonStyle::forSystem(kit::SystemVersion version) {
    if (version.isAtLeast(26)) {
        return {kit::BezelStyle::RoundRect, kit::ButtonBorderShape::Capsule,
                kit::ControlSize::Small,    10.0,
                kit::Size{7.0, 7.0},        false};
    }
    if (version.isAtLeast(11)) {
        return {kit::BezelStyle::RoundRect, std::nullopt, kit::ControlSize::Small, 10.0,
                kit::Size{5.0, 0.0},        true};
    }
    return {kit::BezelStyle::TexturedRounded,
            std::nullopt,
            kit::ControlSize::Mini,
            kit::Font::systemFontSizeForControlSize(static_cast<int>(kit::ControlSize::Small)),
            kit::Size{2.0, 3.0},
            false};
}
