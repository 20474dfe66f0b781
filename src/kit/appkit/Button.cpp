#include "kit/appkit/Button.h"

namespace kit {

std::unique_ptr<Button> Button::buttonWithTitle(const std::string& title, Object* target, Selector action) {
    auto button = std::make_unique<Button>(Rect());
    button->setTitle(title);
    button->setTarget(target);
    button->setAction(action);
    button->sizeToFit();
    return button;
}

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
