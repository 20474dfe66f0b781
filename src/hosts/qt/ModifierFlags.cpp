#include "hosts/qt/ModifierFlags.h"

#include <utility>

namespace qthost {

std::uint64_t platformModifierFlags(Qt::KeyboardModifiers modifiers) {
    constexpr std::pair<Qt::KeyboardModifier, std::uint64_t> bits[] = {
        {Qt::ShiftModifier, 1u << 17},
        {Qt::ControlModifier, 1u << 18},
        {Qt::AltModifier, 1u << 19},
        {Qt::MetaModifier, 1u << 20},
    };
    std::uint64_t flags = 0;
    for (const auto& [modifier, bit] : bits) {
        if (modifiers.testFlag(modifier)) {
            flags |= bit;
        }
    }
    return flags;
}

}  // namespace qthost
