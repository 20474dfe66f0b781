#include "kit/appkit/MenuItem.h"

#include "kit/appkit/Menu.h"
#include "kit/graphics/Image.h"

namespace kit {

MenuItem::MenuItem(std::string title, Selector action) : _title(std::move(title)), _action(action) {}

MenuItem::~MenuItem() = default;

void MenuItem::setSubmenu(std::unique_ptr<Menu> submenu) {
    _submenu = std::move(submenu);
}

bool MenuItem::sendAction() {
    return _target && _action && _target->perform(_action, this);
}

}  // namespace kit
