#include "kit/appkit/TabView.h"

#include <algorithm>

namespace kit {

TabViewItem* TabView::addTabViewItem(const std::string& label, std::unique_ptr<View> view) {
    View* shown = nullptr;
    if (view) {
        view->setFrame(bounds());
        view->setAutoresizingMask(ViewWidthSizable | ViewHeightSizable);
        shown = addSubview(std::move(view));
    }
    _items.push_back(std::make_unique<TabViewItem>(label, shown));
    TabViewItem* added = _items.back().get();
    if (!_selectedItem) {
        selectTabViewItem(added);
    } else if (shown) {
        shown->setHidden(true);
    }
    return added;
}

std::vector<TabViewItem*> TabView::tabViewItems() const {
    std::vector<TabViewItem*> items;
    items.reserve(_items.size());
    for (const auto& item : _items) {
        items.push_back(item.get());
    }
    return items;
}

void TabView::selectTabViewItem(TabViewItem* item) {
    const bool ours = std::any_of(_items.begin(), _items.end(),
                                  [&](const auto& candidate) { return candidate.get() == item; });
    if (!ours) {
        return;
    }
    _selectedItem = item;
    for (const auto& candidate : _items) {
        if (View* view = candidate->view()) {
            view->setHidden(candidate.get() != item);
        }
    }
}

}  // namespace kit
