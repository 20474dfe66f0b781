#pragma once

#include "kit/appkit/Slider.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A slider in a size-to-fit chain: moved or stretched by a predecessor, never sized by itself.
class KRSizeToFitSlider : public kit::Slider, public KRSizeToFitViewProtocol {
public:
    using kit::Slider::Slider;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }

private:
    kit::View* _nextSizeToFitView = nullptr;
};
