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
// a borderless child window of the anchor's window, placed against the anchor and kept on the anchor's
// screen (shifted along the anchor's side, or opened on the opposite side when it does not fit); it follows
// the anchor when that window moves or resizes. Closed, the content goes back to its controller.
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
    void anchorWindowDidChangeFrame(Object* notification);

    // Where a popover of `size` opens against `anchor` (screen coordinates) on side `edge`, inside `screen`
    // (a screen's visible frame) as far as it fits.
    static Rect placement(const Rect& anchor, Size size, RectEdge edge, const Rect& screen);

    static const DispatchTable& classDispatchTable();

protected:
    const DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    // The anchor in screen coordinates, and where a window of `size` goes against it.
    Rect anchorOnScreen() const;
    Rect placedFrame(Size size) const;

    std::shared_ptr<ViewController> _contentViewController;
    bool _animates = false;
    PopoverBehavior _behavior = PopoverBehavior::ApplicationDefined;
    PopoverDelegate* _delegate = nullptr;
    std::unique_ptr<Window> _window;
    View* _shownView = nullptr;
    // While shown: what it points at. The window's close or move reaches the popover, which closes or follows.
    Window* _anchorWindow = nullptr;
    View* _anchorView = nullptr;
    Rect _anchorRect;
    RectEdge _edge = RectEdge::MinY;
};

}  // namespace kit
