#include "kit/appkit/Menu.h"

#include <algorithm>

#include "kit/core/ProcessLocal.h"

namespace kit {

MenuItem& Menu::addItem(std::unique_ptr<MenuItem> item) {
    return insertItem(std::move(item), numberOfItems());
}

MenuItem& Menu::addItemWithTitle(std::string title, Selector action, std::string keyEquivalent) {
    return addItem(std::make_unique<MenuItem>(std::move(title), action, std::move(keyEquivalent)));
}

MenuItem& Menu::insertItem(std::unique_ptr<MenuItem> item, long index) {
    const long position = std::clamp(index, 0L, numberOfItems());
    return **_items.insert(_items.begin() + position, std::move(item));
}

void Menu::removeItemAtIndex(long index) {
    if (index >= 0 && index < numberOfItems()) {
        _items.erase(_items.begin() + index);
    }
}

std::vector<MenuItem*> Menu::itemArray() const {
    std::vector<MenuItem*> items;
    items.reserve(_items.size());
    for (const auto& item : _items) {
        items.push_back(item.get());
    }
    return items;
}

MenuItem* Menu::itemAtIndex(long index) const {
    return index >= 0 && index < numberOfItems() ? _items[static_cast<std::size_t>(index)].get() : nullptr;
}

long Menu::indexOfItem(const MenuItem* item) const {
    for (long index = 0; index < numberOfItems(); ++index) {
        if (_items[static_cast<std::size_t>(index)].get() == item) {
            return index;
        }
    }
    return -1;
}

MenuItem* Menu::itemWithTag(long tag) const {
    for (const auto& item : _items) {
        if (item->tag() == tag) {
            return item.get();
        }
    }
    return nullptr;
}

void Menu::update() {
    if (_delegate) {
        _delegate->menuNeedsUpdate(*this);
    }
    if (!_autoenablesItems) {
        return;
    }
    for (const auto& item : _items) {
        item->setEnabled(validate(*item));
    }
}

bool Menu::validate(MenuItem& item) {
    if (item.isSeparatorItem()) {
        return false;
    }
    if (item.submenu()) {
        return true;
    }
    Object* target = item.effectiveTarget();
    if (!target) {
        return false;
    }
    auto* validation = dynamic_cast<MenuItemValidation*>(target);
    return !validation || validation->validateMenuItem(item);
}

namespace {

std::unique_ptr<Menu>& mainMenuSlot() {
    static auto* slot = new ProcessLocal<std::unique_ptr<Menu>>;  // never destroyed, like the application
    return slot->get();
}

}  // namespace

Menu* Menu::mainMenu() {
    return mainMenuSlot().get();
}

void Menu::setMainMenu(std::unique_ptr<Menu> menu) {
    mainMenuSlot() = std::move(menu);
}

}  // namespace kit
