#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "kit/geometry/Geometry.h"

namespace kit {

// Weights on the platform's scale (NSFontWeight): 0 is regular, positive is heavier.
inline constexpr double FontWeightRegular = 0.0;
inline constexpr double FontWeightMedium = 0.23;
inline constexpr double FontWeightBold = 0.4;

// A font as a value (NSFont): family, point size and weight. The host resolves it to a real face when it
// measures or draws text.
class Font {
public:
    // The family name that stands for the desktop's interface font, whatever it is called there.
    static constexpr std::string_view systemFamilyName = "System";

    Font(std::string familyName, double pointSize, double weight = FontWeightRegular)
        : _familyName(std::move(familyName)), _pointSize(pointSize), _weight(weight) {}

    static Font systemFontOfSize(double pointSize, double weight = FontWeightRegular);
    // The size of the interface font for regular controls.
    static double systemFontSize() { return 13.0; }
    // The interface font's size for controls of a size (NSControlSize's values: 0 regular, 1 small,
    // 2 mini, 3 large).
    static double systemFontSizeForControlSize(int controlSize);

    const std::string& familyName() const { return _familyName; }
    double pointSize() const { return _pointSize; }
    double weight() const { return _weight; }
    bool isSystemFont() const { return _familyName == systemFamilyName; }
    friend bool operator==(const Font&, const Font&) = default;

private:
    std::string _familyName;
    double _pointSize;
    double _weight;
};

// The size `text` takes on one line in `font` (NSString sizeWithAttributes: with only a font), as the host
// measures it.
Size sizeWithFont(std::string_view text, const Font& font);
// The size one paragraph of `text` takes in `font` when wrapped at spaces to `width`.
Size sizeOfWrappedText(std::string_view text, const Font& font, double width);

}  // namespace kit
