#include "about/TitlebarButtonStyle.h"

#include "kit/appkit/Font.h"

TitlebarButtonStyle TitlebarButtonStyle::forSystem(kit::SystemVersion version) {
    TitlebarButtonStyle style{
        kit::BezelStyle::RoundRect, std::nullopt, kit::ControlSize::Small, 10.0, {}, false};
    if (version.isAtLeast(26)) {
        style.borderShape = kit::ButtonBorderShape::Capsule;
        style.padding = kit::Size{7.0, 7.0};
    } else if (version.isAtLeast(11)) {
        style.padding = kit::Size{5.0, 0.0};
        style.correctPaddingAutomatically = true;
    } else {
        style.bezelStyle = kit::BezelStyle::TexturedRounded;
        style.controlSize = kit::ControlSize::Mini;
        style.fontSize = kit::Font::systemFontSizeForControlSize(static_cast<int>(kit::ControlSize::Small));
        style.padding = kit::Size{2.0, 3.0};
    }
    return style;
}
