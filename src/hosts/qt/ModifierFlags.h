#pragma once

#include <Qt>
#include <cstdint>

namespace qthost {

// Qt's keyboard modifiers in the platform's bits: Shift 1<<17, Control 1<<18, Option (Alt) 1<<19,
// Command (Meta, the "Windows" key) 1<<20.
std::uint64_t platformModifierFlags(Qt::KeyboardModifiers modifiers);

}  // namespace qthost
