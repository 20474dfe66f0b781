#pragma once

#include "kit/appkit/Font.h"
#include "kit/appkit/View.h"
#include "kit/core/Selector.h"

namespace kit {

class Event;

enum class ControlSize { Regular = 0, Small = 1, Mini = 2, Large = 3 };

enum class ControlStateValue { Mixed = -1, Off = 0, On = 1 };

// A view that sends its action to its target when the user changes it (NSControl). The target is
// borrowed, never owned. A control is its own cell: control size, font and the measurements a cell makes
// live here, and the host measures them.
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

    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) {
        _enabled = enabled;
        shownStateDidChange();
    }
    ControlSize controlSize() const { return _controlSize; }
    void setControlSize(ControlSize size) { _controlSize = size; }
    const Font& font() const { return _font; }
    void setFont(const Font& font) {
        _font = font;
        shownStateDidChange();
    }

    // The size that shows the whole content.
    Size cellSize() const;
    Rect titleRectForBounds(const Rect& bounds) const;
    // Takes the natural size (cellSize), keeping the origin.
    virtual void sizeToFit();

    // The user pressed the mouse on the control: what follows (tracking, clicking, choosing) is the
    // control's. Nothing by default.
    virtual void mouseDown(const Event& event);

private:
    Object* _target = nullptr;
    Selector _action;
    bool _enabled = true;
    ControlSize _controlSize = ControlSize::Regular;
    Font _font = Font::systemFontOfSize(Font::systemFontSize());
};

}  // namespace kit
