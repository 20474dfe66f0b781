#include "kit/appkit/MenuItem.h"

#include "kit/appkit/Application.h"
#include "kit/appkit/Menu.h"
#include "kit/graphics/Image.h"

namespace kit {

MenuItem::MenuItem(std::string title, Selector action, std::string keyEquivalent)
    : _title(std::move(title)), _action(action), _keyEquivalent(std::move(keyEquivalent)) {}

MenuItem::~MenuItem() = default;

std::unique_ptr<MenuItem> MenuItem::separatorItem() {
    auto item = std::make_unique<MenuItem>("");
    item->_separator = true;
    item->_enabled = false;
    return item;
}

void MenuItem::setSubmenu(std::unique_ptr<Menu> submenu) {
    _submenu = std::move(submenu);
}

Object* MenuItem::effectiveTarget() const {
    if (!_action) {
        return nullptr;
    }
    if (_target) {
        return _target->respondsTo(_action) ? _target : nullptr;
    }
    Application& application = Application::shared();
    if (auto* delegate = dynamic_cast<Object*>(application.delegate());
        delegate && delegate->respondsTo(_action)) {
        return delegate;
    }
    return application.respondsTo(_action) ? &application : nullptr;
}

bool MenuItem::sendAction() {
    Object* target = effectiveTarget();
    return target && target->perform(_action, this);
}

}  // namespace kit
