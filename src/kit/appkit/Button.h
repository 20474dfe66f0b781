#pragma once

#include <memory>
#include <string>

#include "kit/appkit/Control.h"

namespace kit {

// The kinds of button the system uses, with the platform's values.
enum class ButtonType { Switch = 3, MomentaryPushIn = 7 };
// The platform's button bezels, shapes and image placements, with their values.
enum class BezelStyle { Rounded = 1, TexturedRounded = 11, RoundRect = 12 };
enum class ButtonBorderShape { Automatic = 0, Capsule = 1 };
enum class ImagePosition { NoImage = 0 };

// A push button or a check box (NSButton). A click on a check box flips its state before the action goes.
class Button : public Control {
public:
    using Control::Control;

    ButtonType buttonType() const { return _buttonType; }
    void setButtonType(ButtonType type) {
        _buttonType = type;
        shownStateDidChange();
    }
    const std::string& title() const { return _title; }
    virtual void setTitle(const std::string& title) {
        _title = title;
        shownStateDidChange();
    }
    ControlStateValue state() const { return _state; }
    void setState(ControlStateValue state) {
        _state = state;
        shownStateDidChange();
    }

    // --- Titlebar and popover buttons
    // buttonWithTitle:target:action: a push button sized to its title.
    static std::unique_ptr<Button> buttonWithTitle(const std::string& title, Object* target, Selector action);
    BezelStyle bezelStyle() const { return _bezelStyle; }
    void setBezelStyle(BezelStyle style) { _bezelStyle = style; }
    ButtonBorderShape borderShape() const { return _borderShape; }
    void setBorderShape(ButtonBorderShape shape) { _borderShape = shape; }
    ImagePosition imagePosition() const { return _imagePosition; }
    void setImagePosition(ImagePosition position) { _imagePosition = position; }

    // Acts as a click by the user: nothing when disabled; otherwise a check box takes its next state and
    // the action goes out with this button as sender. `sender` is who asked.
    void performClick(Object* sender);
    void mouseDown(const Event& event) override;

    static const DispatchTable& classDispatchTable();

protected:
    const DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    std::string _title = "Button";
    ButtonType _buttonType = ButtonType::MomentaryPushIn;
    ControlStateValue _state = ControlStateValue::Off;
    BezelStyle _bezelStyle = BezelStyle::Rounded;
    ButtonBorderShape _borderShape = ButtonBorderShape::Automatic;
    ImagePosition _imagePosition = ImagePosition::NoImage;
};

}  // namespace kit
