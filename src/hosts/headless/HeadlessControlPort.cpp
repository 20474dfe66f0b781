#include "hosts/headless/HeadlessControlPort.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "kit/appkit/Button.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TextField.h"

namespace headless {

namespace {

std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; }));
}

double bezelHeight(kit::ControlSize size) {
    switch (size) {
        case kit::ControlSize::Small:
            return 19.0;
        case kit::ControlSize::Mini:
            return 16.0;
        case kit::ControlSize::Large:
            return 28.0;
        case kit::ControlSize::Regular:
            break;
    }
    return 22.0;
}

double lineHeight(const kit::Font& font) {
    return font.pointSize() + 3.0;
}

}  // namespace

kit::Size HeadlessControlPort::sizeOfString(std::string_view text, const kit::Font& font) {
    return {static_cast<double>(codePoints(text)) * font.pointSize() * 0.5, lineHeight(font)};
}

HeadlessControlPort::Chrome HeadlessControlPort::chrome(const kit::Control& control) {
    const double bezel = bezelHeight(control.controlSize());
    if (const auto* button = dynamic_cast<const kit::Button*>(&control)) {
        return button->buttonType() == kit::ButtonType::Switch ? Chrome{22.0, 0.0, bezel}
                                                               : Chrome{14.0, 14.0, bezel};
    }
    if (dynamic_cast<const kit::PopUpButton*>(&control)) {
        return {10.0, 20.0, bezel};
    }
    if (const auto* field = dynamic_cast<const kit::TextField*>(&control)) {
        const double line = lineHeight(control.font());
        return field->isBezeled() || field->isBordered() ? Chrome{4.0, 4.0, line + 6.0}
                                                         : Chrome{2.0, 2.0, line};
    }
    return {0.0, 0.0, control.frame().height()};
}

double HeadlessControlPort::contentWidth(const kit::Control& control) {
    if (const auto* button = dynamic_cast<const kit::Button*>(&control)) {
        return sizeOfString(button->title(), control.font()).width;
    }
    if (const auto* field = dynamic_cast<const kit::TextField*>(&control)) {
        return sizeOfString(field->stringValue(), control.font()).width;
    }
    if (const auto* popUp = dynamic_cast<const kit::PopUpButton*>(&control)) {
        double widest = 0.0;
        for (const kit::MenuItem* item : popUp->itemArray()) {
            const auto title = item->attributedTitleSize();
            const double width = (title ? title->width : sizeOfString(item->title(), control.font()).width) +
                                 (item->imageSize() ? item->imageSize()->width : 0.0);
            widest = std::max(widest, width);
        }
        return widest;
    }
    return control.frame().width();
}

kit::Size HeadlessControlPort::cellSize(const kit::Control& control) {
    if (auto scripted = _cellSizes.find(&control); scripted != _cellSizes.end()) {
        return scripted->second;
    }
    const Chrome edges = chrome(control);
    return {contentWidth(control) + edges.leading + edges.trailing, edges.height};
}

kit::Rect HeadlessControlPort::titleRect(const kit::Control& control, const kit::Rect& bounds) {
    const Chrome edges = chrome(control);
    const double height = lineHeight(control.font());
    return {bounds.minX() + edges.leading, bounds.minY() + std::floor((bounds.height() - height) * 0.5),
            std::max(bounds.width() - edges.leading - edges.trailing, 0.0), height};
}

std::optional<std::size_t> HeadlessControlPort::trackMenu(const kit::PopUpButton&) {
    ++_menuTrackings;
    return std::exchange(_nextMenuChoice, std::nullopt);
}

}  // namespace headless
