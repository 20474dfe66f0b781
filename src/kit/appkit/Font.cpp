#include "kit/appkit/Font.h"

#include "kit/appkit/ControlPort.h"
#include "kit/core/Host.h"

namespace kit {

Font Font::systemFontOfSize(double pointSize, double weight) {
    return Font(std::string(systemFamilyName), pointSize, weight);
}

double Font::systemFontSizeForControlSize(int controlSize) {
    switch (controlSize) {
    case 1:
        return 11.0;
    case 2:
        return 9.0;
    default:
        return systemFontSize();
    }
}

Size sizeWithFont(std::string_view text, const Font& font) {
    return host().controlPort().sizeOfString(text, font);
}

}  // namespace kit
