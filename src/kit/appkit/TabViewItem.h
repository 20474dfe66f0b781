#pragma once

#include <string>
#include <utility>

#include "kit/core/Object.h"

namespace kit {

class View;

// One tab of a tab view (NSTabViewItem): its label and the view it shows, which the tab view owns.
class TabViewItem : public Object {
public:
    TabViewItem(std::string label, View* view) : _label(std::move(label)), _view(view) {}

    const std::string& label() const { return _label; }
    void setLabel(std::string label) { _label = std::move(label); }
    View* view() const { return _view; }

private:
    std::string _label;
    View* _view;
};

}  // namespace kit
