#pragma once

#include "kit/appkit/Control.h"

namespace kit {

// A slider over a range of values (NSSlider), 0 to 1 unless set. Its value always lies in the range.
class Slider : public Control {
public:
    using Control::Control;

    double minValue() const { return _minValue; }
    void setMinValue(double minValue);
    double maxValue() const { return _maxValue; }
    void setMaxValue(double maxValue);
    double doubleValue() const { return _doubleValue; }
    // Setting the value from code sends no action.
    void setDoubleValue(double value);
    // The user moved the knob to `value`: store it, kept in the range, and send the action.
    void moveKnob(double value);

private:
    double clampedToRange(double value) const;

    double _minValue = 0.0;
    double _maxValue = 1.0;
    double _doubleValue = 0.0;
};

}  // namespace kit
