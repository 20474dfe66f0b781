#include "kit/quartz/WindowList.h"

#include "kit/core/Host.h"

namespace kit {

std::optional<PropertyList::Array> windowListCopyWindowInfo(std::uint32_t options,
                                                            std::uint32_t relativeToWindow) {
    return host().windowList(options, relativeToWindow);
}

bool rectMakeWithDictionaryRepresentation(const PropertyList& dictionary, Rect& rect) {
    double values[4];
    const char* keys[4] = {"X", "Y", "Width", "Height"};
    for (int index = 0; index < 4; ++index) {
        const PropertyList* value = dictionary.find(keys[index]);
        if (!value || !value->isNumber()) {
            return false;
        }
        values[index] = *value->doubleValue();
    }
    rect = Rect(values[0], values[1], values[2], values[3]);
    return true;
}

PropertyList dictionaryRepresentation(const Rect& rect) {
    return PropertyList::Dictionary{
        {"X", rect.minX()}, {"Y", rect.minY()}, {"Width", rect.width()}, {"Height", rect.height()}};
}

}  // namespace kit
