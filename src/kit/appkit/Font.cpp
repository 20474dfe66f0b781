#include "kit/appkit/Font.h"

#include "kit/appkit/ControlPort.h"
#include "kit/core/Host.h"

namespace kit {

Font Font::systemFontOfSize(double pointSize, double weight) {
    return Font(std::string(systemFamilyName), pointSize, weight);
}

Size sizeWithFont(std::string_view text, const Font& font) {
    return host().controlPort().sizeOfString(text, font);
}

}  // namespace kit
