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

// A target that decides whether the items sending it their action are enabled (NSMenuValidation).
class MenuItemValidation {
public:
    virtual ~MenuItemValidation() = default;
    virtual bool validateMenuItem(MenuItem& item) = 0;
};

// A list of items (NSMenu). It owns its items; its delegate is borrowed.
class Menu : public Object {
public:
    explicit Menu(std::string title = "") : _title(std::move(title)) {}

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    MenuDelegate* delegate() const { return _delegate; }
    void setDelegate(MenuDelegate* delegate) { _delegate = delegate; }
    // With automatic enabling (the default) every update enables exactly the items someone would answer.
    bool autoenablesItems() const { return _autoenablesItems; }
    void setAutoenablesItems(bool autoenables) { _autoenablesItems = autoenables; }

    // Appends `item` and returns it.
    MenuItem& addItem(std::unique_ptr<MenuItem> item);
    // Appends a new item and returns it.
    MenuItem& addItemWithTitle(std::string title, Selector action, std::string keyEquivalent);
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

    // What a host does just before showing the menu: the delegate fills it, then, with automatic
    // enabling, each item is validated. Submenus update when they open, not here.
    void update();
    // Whether `item` may be chosen: an item with a submenu may; otherwise it needs an action that its
    // effective target answers, and that target's validateMenuItem when it validates.
    static bool validate(MenuItem& item);

    // The application's main menu (NSApp mainMenu): each item's submenu is one menu of the menu bar.
    static Menu* mainMenu();
    static void setMainMenu(std::unique_ptr<Menu> menu);

private:
    std::string _title;
    MenuDelegate* _delegate = nullptr;
    bool _autoenablesItems = true;
    std::vector<std::unique_ptr<MenuItem>> _items;
};

}  // namespace kit
