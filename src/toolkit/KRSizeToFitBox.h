#pragma once

#include "kit/appkit/Box.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A box in a size-to-fit chain: moved or stretched by a predecessor, never sized by itself.
class KRSizeToFitBox : public kit::Box, public KRSizeToFitViewProtocol {
public:
    using kit::Box::Box;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }

private:
    kit::View* _nextSizeToFitView = nullptr;
};
