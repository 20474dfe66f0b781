#include "kit/appkit/Button.h"

namespace kit {

void Button::performClick(Object*) {
    if (!isEnabled()) {
        return;
    }
    if (_buttonType == ButtonType::Switch) {
        // A mixed check box becomes on, as the user expects from a click.
        _state = _state == ControlStateValue::On ? ControlStateValue::Off : ControlStateValue::On;
        shownStateDidChange();
    }
    sendAction();
}

void Button::mouseDown(const Event&) {
    performClick(this);
}

const DispatchTable& Button::classDispatchTable() {
    static const DispatchTable table(&Control::classDispatchTable(),
                                     {kit::action<&Button::performClick>("performClick:")});
    return table;
}

}  // namespace kit
