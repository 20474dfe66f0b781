#pragma once

#include "kit/appkit/PopUpButton.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A pop-up button in a size-to-fit chain that keeps its size: moved or stretched by a predecessor only.
class KRSizeToFitStaticPopUpButton : public kit::PopUpButton, public KRSizeToFitViewProtocol {
public:
    using kit::PopUpButton::PopUpButton;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }

private:
    kit::View* _nextSizeToFitView = nullptr;
};
