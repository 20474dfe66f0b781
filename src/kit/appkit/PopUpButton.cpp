#include "kit/appkit/PopUpButton.h"

#include <algorithm>

#include "kit/appkit/ControlPort.h"
#include "kit/core/Host.h"

namespace kit {

PopUpButton::PopUpButton(const Rect& frame, bool pullsDown) : Control(frame), _pullsDown(pullsDown) {}

void PopUpButton::addItemWithTitle(const std::string& title) {
    const auto sameTitle = [&](const auto& item) { return item->title() == title; };
    if (auto existing = std::find_if(_items.begin(), _items.end(), sameTitle); existing != _items.end()) {
        const long removed = existing - _items.begin();
        _items.erase(existing);
        if (removed == _selectedIndex) {
            _selectedIndex = -1;
        } else if (removed < _selectedIndex) {
            --_selectedIndex;
        }
    }
    _items.push_back(std::make_unique<MenuItem>(title));
    if (_items.size() == 1) {
        _selectedIndex = 0;
    }
    shownStateDidChange();
}

std::vector<MenuItem*> PopUpButton::itemArray() const {
    std::vector<MenuItem*> items;
    items.reserve(_items.size());
    for (const auto& item : _items) {
        items.push_back(item.get());
    }
    return items;
}

MenuItem* PopUpButton::itemAtIndex(long index) const {
    return index >= 0 && index < numberOfItems() ? _items[static_cast<std::size_t>(index)].get() : nullptr;
}

long PopUpButton::indexOfItem(const MenuItem* item) const {
    const auto found = std::find_if(_items.begin(), _items.end(),
                                    [&](const auto& candidate) { return item && candidate.get() == item; });
    return found == _items.end() ? -1 : found - _items.begin();
}

long PopUpButton::indexOfItemWithTag(long tag) const {
    const auto found = std::find_if(_items.begin(), _items.end(),
                                    [&](const auto& candidate) { return candidate->tag() == tag; });
    return found == _items.end() ? -1 : found - _items.begin();
}

bool PopUpButton::selectItemWithTag(long tag) {
    const long index = indexOfItemWithTag(tag);
    if (index < 0) {
        return false;
    }
    setSelectedIndex(index);
    return true;
}

void PopUpButton::setSelectedIndex(long index) {
    _selectedIndex = itemAtIndex(index) ? index : -1;
    shownStateDidChange();
}

void PopUpButton::mouseDown(const Event&) {
    if (!isEnabled()) {
        return;
    }
    // The choice is selected here, not through selectItemAtIndex: subclasses react to a menu choice
    // after this returns, not as if the program had selected the item.
    const std::optional<std::size_t> choice = host().controlPort().trackMenu(*this);
    MenuItem* chosen = choice ? itemAtIndex(static_cast<long>(*choice)) : nullptr;
    if (!chosen || !chosen->isEnabled()) {
        return;
    }
    setSelectedIndex(static_cast<long>(*choice));
    sendActionForChoice(*chosen);
}

void PopUpButton::sendActionForChoice(MenuItem& item) {
    if (item.action()) {
        item.sendAction();
    } else {
        sendAction();
    }
}

}  // namespace kit
