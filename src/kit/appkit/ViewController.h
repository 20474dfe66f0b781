#pragma once

#include <memory>

#include "kit/appkit/View.h"
#include "kit/core/Object.h"

namespace kit {

// Manages one view (NSViewController); the controller owns it until something shows it elsewhere.
class ViewController : public Object {
public:
    ViewController() = default;

    View* view() const { return _view.get(); }
    void setView(std::unique_ptr<View> view) { _view = std::move(view); }
    // Hands the view to whatever shows it (a popover's window); it comes back with setView.
    std::unique_ptr<View> takeView() { return std::move(_view); }

private:
    std::unique_ptr<View> _view;
};

}  // namespace kit
