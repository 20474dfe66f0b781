#pragma once

namespace kit {
class View;
}

// A member of a size-to-fit chain: it names the view that follows it, which moves (or stretches) by the
// same amount when a control before it changes width. Not owned; nullptr ends the chain.
class KRSizeToFitViewProtocol {
public:
    virtual ~KRSizeToFitViewProtocol() = default;
    virtual kit::View* nextSizeToFitView() const = 0;
};
