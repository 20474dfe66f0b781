#include "kit/appkit/Control.h"

#include "kit/appkit/ControlPort.h"
#include "kit/core/Host.h"

namespace kit {

bool Control::sendAction() {
    return _target && _action && _target->perform(_action, this);
}

Size Control::cellSize() const {
    return host().controlPort().cellSize(*this);
}

Rect Control::titleRectForBounds(const Rect& bounds) const {
    return host().controlPort().titleRect(*this, bounds);
}

void Control::sizeToFit() {
    setFrame(Rect(frame().origin, cellSize()));
}

void Control::mouseDown(const Event&) {}

}  // namespace kit
