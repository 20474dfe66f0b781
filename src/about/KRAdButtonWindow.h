#pragma once

#include <memory>

#include "kit/appkit/Popover.h"
#include "kit/appkit/Window.h"

namespace kit {
class Button;
}

// A window with a "Hi!" button in its titlebar. The button opens a popover about the maker's other
// applications; while it shows, the button reads "OK" and closes it. The popover also opens by itself the
// first time the window comes forward after the application's version changed, once per version.
class KRAdButtonWindow : public kit::Window, public kit::PopoverDelegate {
public:
    using kit::Window::Window;
    ~KRAdButtonWindow() override;

    // Where the popover's pieces go, in its content view's coordinates, for a button `buttonHeight` high
    // and a message of `textSize`.
    struct PopoverLayout {
        kit::Rect content;
        kit::Rect button;
        kit::Rect message;
    };
    static PopoverLayout popoverLayout(double buttonHeight, kit::Size textSize);

    void makeKeyAndOrderFront(kit::Object* sender) override;
    // Opens the popover, or closes the one held; a nil sender only resets the title (the platform closed
    // it), and the website button also opens the maker's home page.
    void toggleAdPopover(kit::Object* sender);
    void popoverDidClose(kit::Notification& notification) override;

    kit::Button* adButton() const { return _adButton; }
    kit::Popover* adPopover() const { return _adPopover.get(); }

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    void openAdPopover();
    void closeAdPopover(kit::Object* sender);
    void openAdPopoverOncePerVersion(kit::Object* sender);

    kit::Button* _adButton = nullptr;  // owned by its titlebar entry, which the window keeps for its life
    std::unique_ptr<kit::Popover> _adPopover;
};
