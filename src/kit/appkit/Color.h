#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kit {

// The colour spaces a colour can be kept in. The numbers are stored in archives: never renumber.
enum class ColorSpace : std::uint8_t {
    CalibratedWhite = 1,  // components: white
    DeviceWhite = 2,      // components: white
    CalibratedRGB = 3,    // components: red, green, blue
    DeviceRGB = 4,        // components: red, green, blue
    SRGB = 5,             // components: red, green, blue
};

// A colour as the platform keeps it: its colour space, that space's components and alpha, exactly as
// given (no clamping, no conversion until it is drawn).
class Color {
public:
    static Color calibratedWhite(double white, double alpha);
    static Color deviceWhite(double white, double alpha);
    static Color calibratedRGB(double red, double green, double blue, double alpha);
    static Color deviceRGB(double red, double green, double blue, double alpha);
    static Color sRGB(double red, double green, double blue, double alpha);
    static Color clear();  // calibrated white 0.0, alpha 0.0
    static Color white();
    static Color black();
    static Color labelColor();
    static Color secondaryLabelColor();

    // Whether colour wells and the colour panel drop alpha (the platform's default) or offer and return
    // colours with it. A process-wide class setting; every process starts with the default.
    static bool ignoresAlpha();
    static void setIgnoresAlpha(bool ignoresAlpha);
    // A colour of `space` from its components (only the space's own are used); nullopt when `space` is
    // not one of the values above, as a byte read from an archive may be.
    static std::optional<Color> withComponents(ColorSpace space, const std::array<double, 3>& components,
                                               double alpha);

    // Number of colour components of a space (1 or 3), alpha not included; 0 for an unknown value.
    static std::size_t componentCount(ColorSpace space);

    ColorSpace space() const { return _space; }
    std::size_t componentCount() const { return componentCount(_space); }
    double component(std::size_t index) const { return _components[index]; }
    double alpha() const { return _alpha; }
    Color withAlpha(double alpha) const;

    // Red, green, blue and alpha in 0...1 for drawing (components clamped to that range, NaN as 0).
    struct RGBA {
        double red, green, blue, alpha;
    };
    RGBA rgba() const;

    friend bool operator==(const Color&, const Color&) = default;

private:
    Color(ColorSpace space, std::array<double, 3> components, double alpha)
        : _space(space), _components(components), _alpha(alpha) {}

    ColorSpace _space;
    std::array<double, 3> _components;
    double _alpha;
};

}  // namespace kit
