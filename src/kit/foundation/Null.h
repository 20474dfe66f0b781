#pragma once

#include "kit/core/Object.h"

namespace kit {

// The shared null object (NSNull): a target that answers nothing, so what it is given stays inert.
class Null final : public Object {
public:
    static Null& null();
};

}  // namespace kit
