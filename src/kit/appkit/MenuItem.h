#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/appkit/Control.h"

namespace kit {

class Image;
class Menu;

// The small label a menu item shows at its trailing edge (NSMenuItemBadge).
struct MenuItemBadge {
    std::string string;
    friend bool operator==(const MenuItemBadge&, const MenuItemBadge&) = default;
};

// One entry of a menu (NSMenuItem). It owns its custom view; its target is borrowed. An item with an
// action sends it itself when chosen; one without lets its pop-up button send the button's action.
class MenuItem : public Object {
public:
    explicit MenuItem(std::string title, Selector action = {}, std::string keyEquivalent = "");
    ~MenuItem() override;

    // A line between groups of items: no title, no action, never enabled.
    static std::unique_ptr<MenuItem> separatorItem();
    bool isSeparatorItem() const { return _separator; }

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    long tag() const { return _tag; }
    void setTag(long tag) { _tag = tag; }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    ControlStateValue state() const { return _state; }
    void setState(ControlStateValue state) { _state = state; }
    Selector action() const { return _action; }
    void setAction(Selector action) { _action = action; }
    Object* target() const { return _target; }
    void setTarget(Object* target) { _target = target; }
    // The key that chooses the item with the platform's command modifier ("q", ","); empty for none.
    const std::string& keyEquivalent() const { return _keyEquivalent; }
    void setKeyEquivalent(std::string key) { _keyEquivalent = std::move(key); }
    const std::optional<MenuItemBadge>& badge() const { return _badge; }
    void setBadge(std::optional<MenuItemBadge> badge) { _badge = std::move(badge); }
    const std::string& toolTip() const { return _toolTip; }
    void setToolTip(std::string toolTip) { _toolTip = std::move(toolTip); }

    // The menu that opens from this item; the item owns it.
    Menu* submenu() const { return _submenu.get(); }
    void setSubmenu(std::unique_ptr<Menu> submenu);
    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image) { _image = std::move(image); }

    // A view drawn in place of the title; such an item is shown, never highlighted by itself.
    View* view() const { return _view.get(); }
    void setView(std::unique_ptr<View> view) { _view = std::move(view); }

    // The measured sizes of a styled title and an image, until the kit carries those objects themselves.
    std::optional<Size> attributedTitleSize() const { return _attributedTitleSize; }
    void setAttributedTitleSize(std::optional<Size> size) { _attributedTitleSize = size; }
    std::optional<Size> imageSize() const { return _imageSize; }
    void setImageSize(std::optional<Size> size) { _imageSize = size; }

    // Who receives the action: the target, or for an item without one the application's delegate, then
    // the application; nullptr when none of them answers the action.
    Object* effectiveTarget() const;

    // Sends the item's action to its effective target with the item as sender; false when there is no
    // action or nothing answers it.
    bool sendAction();

private:
    std::string _title;
    long _tag = 0;
    bool _enabled = true;
    bool _separator = false;
    ControlStateValue _state = ControlStateValue::Off;
    Selector _action;
    Object* _target = nullptr;
    std::string _keyEquivalent;
    std::optional<MenuItemBadge> _badge;
    std::string _toolTip;
    std::unique_ptr<Menu> _submenu;
    std::shared_ptr<Image> _image;
    std::unique_ptr<View> _view;
    std::optional<Size> _attributedTitleSize;
    std::optional<Size> _imageSize;
};

}  // namespace kit
