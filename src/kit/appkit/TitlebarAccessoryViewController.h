#pragma once

#include "kit/appkit/ViewController.h"

namespace kit {

class Window;

// Where an accessory sits in the titlebar (NSLayoutAttribute); the system uses the right-hand end.
enum class LayoutAttribute { Left = 1, Right = 2, Bottom = 4 };

// One entry of a window's titlebar accessories (NSTitlebarAccessoryViewController): its view is laid out
// in the titlebar of the window that holds it.
class TitlebarAccessoryViewController : public ViewController {
public:
    LayoutAttribute layoutAttribute() const { return _layoutAttribute; }
    void setLayoutAttribute(LayoutAttribute attribute) { _layoutAttribute = attribute; }
    Window* parentWindow() const { return _parentWindow; }

    // Takes the entry off its window, which lets go of it; nothing when no window holds it.
    void removeFromParentViewController();

private:
    friend class Window;
    LayoutAttribute _layoutAttribute = LayoutAttribute::Bottom;
    Window* _parentWindow = nullptr;
};

}  // namespace kit
