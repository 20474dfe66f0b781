#pragma once

#include <string>

#include "kit/appkit/View.h"

namespace kit {

// A titled group (NSBox). What it groups goes into its content view, which fills the box and follows
// its size.
class Box : public View {
public:
    explicit Box(const Rect& frame);

    const std::string& title() const { return _title; }
    void setTitle(const std::string& title) {
        _title = title;
        shownStateDidChange();
    }
    View* contentView() const { return _contentView; }

private:
    std::string _title = "Title";
    View* _contentView;
};

}  // namespace kit
