#include "kit/appkit/TextField.h"

namespace kit {

std::unique_ptr<TextField> TextField::labelWithString(const std::string& string) {
    auto label = std::make_unique<TextField>(Rect());
    label->setBezeled(false);
    label->setBordered(false);
    label->setDrawsBackground(false);
    label->setEditable(false);
    label->setSelectable(false);
    label->setStringValue(string);
    label->sizeToFit();
    return label;
}

}  // namespace kit
