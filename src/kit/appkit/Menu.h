#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/appkit/MenuItem.h"
#include "kit/core/Object.h"

namespace kit {

class Menu;

// Fills a menu just before it shows (NSMenuDelegate).
class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    virtual void menuNeedsUpdate(Menu& menu) = 0;
};

// A list of items (NSMenu). It owns its items; its delegate is borrowed.
class Menu : public Object {
public:
    explicit Menu(std::string title = "") : _title(std::move(title)) {}

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    MenuDelegate* delegate() const { return _delegate; }
    void setDelegate(MenuDelegate* delegate) { _delegate = delegate; }

    // Appends `item` and returns it.
    MenuItem& addItem(std::unique_ptr<MenuItem> item);
    // Inserts `item` before index `index` (clamped to the list) and returns it.
    MenuItem& insertItem(std::unique_ptr<MenuItem> item, long index);
    // Removes and destroys the item at `index`; nothing happens outside the list.
    void removeItemAtIndex(long index);
    void removeAllItems() { _items.clear(); }

    std::vector<MenuItem*> itemArray() const;
    long numberOfItems() const { return static_cast<long>(_items.size()); }
    // The item at `index`, or nullptr when there is none.
    MenuItem* itemAtIndex(long index) const;
    long indexOfItem(const MenuItem* item) const;
    // The first item with `tag`, or nullptr.
    MenuItem* itemWithTag(long tag) const;

private:
    std::string _title;
    MenuDelegate* _delegate = nullptr;
    std::vector<std::unique_ptr<MenuItem>> _items;
};

}  // namespace kit
