#include "kit/appkit/Slider.h"

#include <algorithm>
#include <cmath>

namespace kit {

void Slider::setMinValue(double minValue) {
    _minValue = minValue;
    _doubleValue = clampedToRange(_doubleValue);
    shownStateDidChange();
}

void Slider::setMaxValue(double maxValue) {
    _maxValue = maxValue;
    _doubleValue = clampedToRange(_doubleValue);
    shownStateDidChange();
}

void Slider::setDoubleValue(double value) {
    _doubleValue = clampedToRange(value);
    shownStateDidChange();
}

void Slider::moveKnob(double value) {
    setDoubleValue(value);
    sendAction();
}

double Slider::clampedToRange(double value) const {
    // A value that is no number cannot be placed on the track: it rests at the minimum.
    if (std::isnan(value)) {
        return _minValue;
    }
    return std::clamp(value, _minValue, std::max(_minValue, _maxValue));
}

}  // namespace kit
