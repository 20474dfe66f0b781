#include "kit/appkit/Color.h"

#include "kit/core/ProcessLocal.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

double clampForDrawing(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

}  // namespace

Color Color::calibratedWhite(double white, double alpha) {
    return {ColorSpace::CalibratedWhite, {white, 0.0, 0.0}, alpha};
}

Color Color::deviceWhite(double white, double alpha) {
    return {ColorSpace::DeviceWhite, {white, 0.0, 0.0}, alpha};
}

Color Color::calibratedRGB(double red, double green, double blue, double alpha) {
    return {ColorSpace::CalibratedRGB, {red, green, blue}, alpha};
}

Color Color::deviceRGB(double red, double green, double blue, double alpha) {
    return {ColorSpace::DeviceRGB, {red, green, blue}, alpha};
}

Color Color::sRGB(double red, double green, double blue, double alpha) {
    return {ColorSpace::SRGB, {red, green, blue}, alpha};
}

Color Color::clear() {
    return calibratedWhite(0.0, 0.0);
}

Color Color::white() {
    return calibratedWhite(1.0, 1.0);
}

Color Color::black() {
    return calibratedWhite(0.0, 1.0);
}

// The dynamic text colours of the light appearance, as fixed values.
Color Color::labelColor() {
    return calibratedWhite(0.0, 0.85);
}

Color Color::secondaryLabelColor() {
    return calibratedWhite(0.0, 0.5);
}

namespace {

// The platform's default is to drop alpha.
ProcessLocal<bool>& ignoresAlphaSetting() {
    static ProcessLocal<bool> setting(+[] { return std::make_unique<bool>(true); });
    return setting;
}

}  // namespace

bool Color::ignoresAlpha() {
    return ignoresAlphaSetting().get();
}

void Color::setIgnoresAlpha(bool ignoresAlpha) {
    ignoresAlphaSetting().get() = ignoresAlpha;
}

std::optional<Color> Color::withComponents(ColorSpace space, const std::array<double, 3>& components,
                                           double alpha) {
    switch (componentCount(space)) {
        case 1:
            return Color(space, {components[0], 0.0, 0.0}, alpha);
        case 3:
            return Color(space, components, alpha);
        default:
            return std::nullopt;
    }
}

std::size_t Color::componentCount(ColorSpace space) {
    switch (space) {
        case ColorSpace::CalibratedWhite:
        case ColorSpace::DeviceWhite:
            return 1;
        case ColorSpace::CalibratedRGB:
        case ColorSpace::DeviceRGB:
        case ColorSpace::SRGB:
            return 3;
    }
    return 0;
}

Color Color::withAlpha(double alpha) const {
    return {_space, _components, alpha};
}

Color::RGBA Color::rgba() const {
    const double red = clampForDrawing(_components[0]);
    if (componentCount() == 1) {
        return {red, red, red, clampForDrawing(_alpha)};
    }
    return {red, clampForDrawing(_components[1]), clampForDrawing(_components[2]), clampForDrawing(_alpha)};
}

}  // namespace kit
