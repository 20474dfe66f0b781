#pragma once

#include "kit/appkit/Button.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A button in a size-to-fit chain that keeps its size: moved or stretched by a predecessor only.
class KRSizeToFitStaticButton : public kit::Button, public KRSizeToFitViewProtocol {
public:
    using kit::Button::Button;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }

private:
    kit::View* _nextSizeToFitView = nullptr;
};
