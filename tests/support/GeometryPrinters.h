#pragma once

#include <ostream>

#include "kit/geometry/Geometry.h"

// Readable failure messages for geometry values (found by GoogleTest through argument-dependent lookup).
namespace kit {

inline void PrintTo(const Size& size, std::ostream* out) {
    *out << "{" << size.width << " x " << size.height << "}";
}

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "{x " << rect.minX() << ", y " << rect.minY() << ", " << rect.width() << " x " << rect.height()
         << "}";
}

}  // namespace kit
