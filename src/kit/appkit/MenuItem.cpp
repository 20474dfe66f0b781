#include "kit/appkit/MenuItem.h"

namespace kit {

bool MenuItem::sendAction() {
    return _target && _action && _target->perform(_action, this);
}

}  // namespace kit
