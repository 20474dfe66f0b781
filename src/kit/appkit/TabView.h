#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/appkit/TabViewItem.h"
#include "kit/appkit/View.h"

namespace kit {

// Tabs over a shared area (NSTabView). Each item's view is a subview that fills the tab view and follows
// its size; only the selected item's view is shown.
class TabView : public View {
public:
    using View::View;

    // Appends a tab showing `view` (may be nullptr). The first tab becomes the selected one.
    TabViewItem* addTabViewItem(const std::string& label, std::unique_ptr<View> view);
    std::vector<TabViewItem*> tabViewItems() const;
    TabViewItem* selectedTabViewItem() const { return _selectedItem; }
    // Shows `item`'s view and hides the others; an item of another tab view changes nothing.
    void selectTabViewItem(TabViewItem* item);

private:
    std::vector<std::unique_ptr<TabViewItem>> _items;
    TabViewItem* _selectedItem = nullptr;
};

}  // namespace kit
