#include "kit/appkit/Font.h"

#include <algorithm>
#include <sstream>

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

Size sizeOfWrappedText(std::string_view text, const Font& font, double width) {
    const double lineHeight = sizeWithFont("X", font).height;
    std::istringstream words{std::string(text)};
    std::string word;
    std::string line;
    double widest = 0.0;
    double height = lineHeight;
    while (words >> word) {
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && sizeWithFont(longer, font).width > width) {
            widest = std::max(widest, sizeWithFont(line, font).width);
            height += lineHeight;
            line = word;
        } else {
            line = longer;
        }
    }
    widest = std::max(widest, sizeWithFont(line, font).width);
    return Size{widest, height};
}

}  // namespace kit
