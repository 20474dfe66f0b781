#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/appkit/Control.h"
#include "kit/appkit/MenuItem.h"

namespace kit {

// A button that shows a menu of items and, unless it pulls down, the selected item as its title
// (NSPopUpButton). It owns its items. Indexes are those of the item list; −1 stands for no item.
class PopUpButton : public Control {
public:
    PopUpButton(const Rect& frame, bool pullsDown);

    bool pullsDown() const { return _pullsDown; }
    void setPullsDown(bool pullsDown) {
        _pullsDown = pullsDown;
        shownStateDidChange();
    }

    // Appends an item, first removing any item with the same title. The first item of an empty button
    // becomes the selected one.
    void addItemWithTitle(const std::string& title);
    std::vector<MenuItem*> itemArray() const;
    long numberOfItems() const { return static_cast<long>(_items.size()); }
    // The item at `index`, or nullptr when there is none.
    MenuItem* itemAtIndex(long index) const;
    MenuItem* lastItem() const { return _items.empty() ? nullptr : _items.back().get(); }
    long indexOfItem(const MenuItem* item) const;
    long indexOfItemWithTag(long tag) const;

    MenuItem* selectedItem() const { return itemAtIndex(_selectedIndex); }
    long indexOfSelectedItem() const { return _selectedIndex; }
    // Selects `item`; nullptr, or an item not in this button, selects nothing.
    void selectItem(const MenuItem* item) { setSelectedIndex(indexOfItem(item)); }
    // An index outside the list selects nothing.
    virtual void selectItemAtIndex(long index) { setSelectedIndex(index); }
    // Selects the first item with `tag`; false, the selection unchanged, when no item has it.
    virtual bool selectItemWithTag(long tag);

    // Tracks the menu (a disabled button opens none); choosing an enabled item selects it and sends the
    // item's action if it has one, else the button's.
    void mouseDown(const Event& event) override;

private:
    void setSelectedIndex(long index);
    void sendActionForChoice(MenuItem& item);

    bool _pullsDown;
    std::vector<std::unique_ptr<MenuItem>> _items;
    long _selectedIndex = -1;
};

}  // namespace kit
