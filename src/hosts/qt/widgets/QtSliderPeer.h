#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/Slider.h"

class QSlider;

namespace qthost {

// A slider as a QSlider over whole steps: the kit's range maps onto 0…steps. A knob the user moves goes
// to the kit slider as its user's move, which sends the action.
class QtSliderPeer final : public QtViewPeer {
public:
    static constexpr int steps = 1000;

    QtSliderPeer(kit::Slider& slider, QWidget& parent);

    // The step nearest `value` of a slider over [minimum, maximum]; 0 for an empty range.
    static int position(double value, double minimum, double maximum);
    // The value at step `position`.
    static double value(int position, double minimum, double maximum);

private:
    void syncContent() override;

    kit::Slider& _slider;
    QSlider* _widget;
};

}  // namespace qthost
