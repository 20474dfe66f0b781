#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kit {

inline constexpr const char* AppearanceNameAqua = "NSAppearanceNameAqua";
inline constexpr const char* AppearanceNameDarkAqua = "NSAppearanceNameDarkAqua";
inline constexpr const char* AppearanceNameVibrantLight = "NSAppearanceNameVibrantLight";
inline constexpr const char* AppearanceNameVibrantDark = "NSAppearanceNameVibrantDark";
inline constexpr const char* AppearanceNameAccessibilityHighContrastAqua =
    "NSAppearanceNameAccessibilityHighContrastAqua";
inline constexpr const char* AppearanceNameAccessibilityHighContrastDarkAqua =
    "NSAppearanceNameAccessibilityHighContrastDarkAqua";

// How views are drawn, light or dark (NSAppearance).
class Appearance {
public:
    // The appearance of that name (any name is accepted; one the kit does not know matches only itself).
    static std::shared_ptr<Appearance> appearanceNamed(const std::string& name);
    // What views without an appearance of their own use: the desktop's, Aqua until a host says otherwise.
    static std::shared_ptr<Appearance> system();
    static void setSystem(std::shared_ptr<Appearance> appearance);

    const std::string& name() const { return _name; }
    // The first of this appearance's own name and then its family's base (Aqua or Dark Aqua) that is
    // among `names`; nullopt when none is.
    std::optional<std::string> bestMatchFromAppearancesWithNames(const std::vector<std::string>& names) const;

    explicit Appearance(std::string name) : _name(std::move(name)) {}

private:
    std::string _name;
};

}  // namespace kit
