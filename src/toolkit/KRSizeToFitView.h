#pragma once

#include "kit/appkit/View.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A plain view in a size-to-fit chain: moved or stretched by a predecessor, never sized by itself.
class KRSizeToFitView : public kit::View, public KRSizeToFitViewProtocol {
public:
    using kit::View::View;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }

private:
    kit::View* _nextSizeToFitView = nullptr;
};
