#include "kit/foundation/Null.h"

namespace kit {

Null& Null::null() {
    static auto* null = new Null;  // holds nothing that belongs to a process, so one serves them all
    return *null;
}

}  // namespace kit
