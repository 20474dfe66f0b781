#pragma once

#include <memory>
#include <string>

#include "kit/core/Object.h"

namespace kit {

class Image;
class Menu;
class StatusItemPeer;
class Window;

// An item in the system status bar (NSStatusItem): a length in points, images, a menu. Which accessors an
// item answers depends on the system, as on the platform.
class StatusItem : public Object {
public:
    explicit StatusItem(double length);
    ~StatusItem() override;

    double length() const { return _length; }
    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image);
    const std::shared_ptr<Image>& alternateImage() const { return _alternateImage; }
    void setAlternateImage(std::shared_ptr<Image> image);
    bool highlightMode() const { return _highlightMode; }
    void setHighlightMode(bool highlights);
    // The item holds its menu.
    const std::shared_ptr<Menu>& menu() const { return _menu; }
    void setMenu(std::shared_ptr<Menu> menu);

    // Whether the item answers setAutosaveName: (from 10.13) and button (from 10.10).
    bool respondsToAutosaveName() const;
    bool respondsToButton() const;
    const std::string& autosaveName() const { return _autosaveName; }
    void setAutosaveName(std::string name) { _autosaveName = std::move(name); }
    // The window showing the item: its button's window, or what the older `_window` accessor gives.
    Window* buttonWindow();
    Window* legacyWindow() { return itemWindow(); }

private:
    Window* itemWindow();
    void changed();

    double _length;
    std::shared_ptr<Image> _image;
    std::shared_ptr<Image> _alternateImage;
    bool _highlightMode = false;
    std::shared_ptr<Menu> _menu;
    std::string _autosaveName;
    std::unique_ptr<Window> _window;
    std::unique_ptr<StatusItemPeer> _peer;
};

}  // namespace kit
