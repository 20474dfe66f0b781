#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/appkit/Control.h"

namespace kit {

class Image;
class Menu;

// One entry of a menu (NSMenuItem). It owns its custom view; its target is borrowed. An item with an
// action sends it itself when chosen; one without lets its pop-up button send the button's action.
class MenuItem : public Object {
public:
    explicit MenuItem(std::string title, Selector action = {});
    ~MenuItem() override;

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

    // Sends the item's action to its target with the item as sender; false when either is missing or the
    // target does not answer.
    bool sendAction();

private:
    std::string _title;
    long _tag = 0;
    bool _enabled = true;
    ControlStateValue _state = ControlStateValue::Off;
    Selector _action;
    Object* _target = nullptr;
    std::unique_ptr<Menu> _submenu;
    std::shared_ptr<Image> _image;
    std::unique_ptr<View> _view;
    std::optional<Size> _attributedTitleSize;
    std::optional<Size> _imageSize;
};

}  // namespace kit
