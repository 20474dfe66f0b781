#include "kit/appkit/Control.h"

namespace kit {

bool Control::sendAction() {
    return _target && _action && _target->perform(_action, this);
}

}  // namespace kit
