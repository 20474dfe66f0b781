#pragma once

#include <memory>

#include "kit/appkit/ViewController.h"
#include "kit/appkit/Window.h"
#include "kit/core/Object.h"
#include "kit/foundation/NotificationCenter.h"

namespace kit {

class Popover;

inline constexpr const char* PopoverDidCloseNotification = "NSPopoverDidCloseNotification";

// What a popover tells its delegate; the notification's object is the popover.
class PopoverDelegate {
public:
    virtual ~PopoverDelegate() = default;
    virtual void popoverDidClose(Notification& /*notification*/) {}
};

// Who closes a popover besides its owner (NSPopoverBehavior): with ApplicationDefined the platform never
// closes it on outside clicks.
enum class PopoverBehavior { ApplicationDefined = 0, Transient = 1, Semitransient = 2 };
// The side of the anchor rectangle a popover opens on (NSRectEdge); MinY is below it, coordinates being
// unflipped.
enum class RectEdge { MinX = 0, MinY = 1, MaxX = 2, MaxY = 3 };

// A panel of content anchored to a rectangle of a view (NSPopover). While shown, the content view lives in
// a borderless window of the popover's, placed against the anchor; closed, it goes back to its controller.
class Popover : public Object {
public:
    Popover() = default;
    // Released while shown, its window goes with it unclosed: nobody is left to hear of a close.
    ~Popover() override = default;

    ViewController* contentViewController() const { return _contentViewController.get(); }
    void setContentViewController(std::shared_ptr<ViewController> controller) {
        _contentViewController = std::move(controller);
    }
    bool animates() const { return _animates; }
    void setAnimates(bool animates) { _animates = animates; }
    PopoverBehavior behavior() const { return _behavior; }
    void setBehavior(PopoverBehavior behavior) { _behavior = behavior; }
    PopoverDelegate* delegate() const { return _delegate; }
    void setDelegate(PopoverDelegate* delegate) { _delegate = delegate; }

    // Shows the content against `rect` of `view` (the view's coordinates) on side `edge`; nothing when
    // already shown, when the view is in no window or when there is no content view.
    void showRelativeToRect(const Rect& rect, View& view, RectEdge edge);
    bool isShown() const { return _window != nullptr; }
    // The window showing the content, while shown.
    Window* window() const { return _window.get(); }
    // Closes it and tells the delegate.
    void close();
    // The platform closed it (the window it points into closed, the desktop dismissed it): the same as
    // close.
    void closedByPlatform() { close(); }
    void anchorWindowWillClose(Object* /*notification*/) { closedByPlatform(); }

    static const DispatchTable& classDispatchTable();

protected:
    const DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    static Rect placement(const Rect& anchorOnScreen, Size size, RectEdge edge);

    std::shared_ptr<ViewController> _contentViewController;
    bool _animates = false;
    PopoverBehavior _behavior = PopoverBehavior::ApplicationDefined;
    PopoverDelegate* _delegate = nullptr;
    std::unique_ptr<Window> _window;
    View* _shownView = nullptr;
};

}  // namespace kit
