#pragma once

#include "kit/appkit/View.h"
#include "kit/core/Selector.h"

namespace kit {

// A view that sends its action to its target when the user changes it (NSControl). The target is
// borrowed, never owned.
class Control : public View {
public:
    using View::View;

    Object* target() const { return _target; }
    void setTarget(Object* target) { _target = target; }
    Selector action() const { return _action; }
    void setAction(Selector action) { _action = action; }

    // Sends the action to the target with this control as sender; false when there is no target or it
    // does not answer the action.
    bool sendAction();

private:
    Object* _target = nullptr;
    Selector _action;
};

}  // namespace kit
