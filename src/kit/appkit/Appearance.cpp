#include "kit/appkit/Appearance.h"

#include <algorithm>

#include "kit/core/ProcessLocal.h"

namespace kit {

namespace {

// The base appearance each known variant falls back to; a base and an unknown name have none.
std::optional<std::string> familyBase(const std::string& name) {
    if (name == AppearanceNameVibrantDark || name == AppearanceNameAccessibilityHighContrastDarkAqua) {
        return AppearanceNameDarkAqua;
    }
    if (name == AppearanceNameVibrantLight || name == AppearanceNameAccessibilityHighContrastAqua) {
        return AppearanceNameAqua;
    }
    return std::nullopt;
}

std::shared_ptr<Appearance>& systemSlot() {
    static auto* slot = new ProcessLocal<std::shared_ptr<Appearance>>;  // never destroyed, like the host's
    return slot->get();
}

}  // namespace

std::shared_ptr<Appearance> Appearance::appearanceNamed(const std::string& name) {
    return std::make_shared<Appearance>(name);
}

std::shared_ptr<Appearance> Appearance::system() {
    std::shared_ptr<Appearance>& appearance = systemSlot();
    if (!appearance) {
        appearance = appearanceNamed(AppearanceNameAqua);
    }
    return appearance;
}

void Appearance::setSystem(std::shared_ptr<Appearance> appearance) {
    systemSlot() = std::move(appearance);
}

std::optional<std::string> Appearance::bestMatchFromAppearancesWithNames(
    const std::vector<std::string>& names) const {
    const auto offered = [&names](const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (offered(_name)) {
        return _name;
    }
    const std::optional<std::string> base = familyBase(_name);
    if (base && offered(*base)) {
        return base;
    }
    return std::nullopt;
}

}  // namespace kit
