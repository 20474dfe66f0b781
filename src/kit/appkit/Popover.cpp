#include "kit/appkit/Popover.h"

namespace kit {

namespace {
// Above ordinary windows, as a popover shows over the window it points into.
constexpr int popoverWindowLevel = StatusWindowLevel;
}  // namespace

const DispatchTable& Popover::classDispatchTable() {
    static const DispatchTable table(&Object::classDispatchTable(),
                                     {action<&Popover::anchorWindowWillClose>("anchorWindowWillClose:")});
    return table;
}

void Popover::showRelativeToRect(const Rect& rect, View& view, RectEdge edge) {
    Window* anchorWindow = view.window();
    if (_window || !anchorWindow || !_contentViewController || !_contentViewController->view()) {
        return;
    }
    std::unique_ptr<View> content = _contentViewController->takeView();
    const Size size = content->frame().size;
    Rect anchor = view.convertRectToWindow(rect);
    anchor.origin.x += anchorWindow->frame().minX();
    anchor.origin.y += anchorWindow->frame().minY();
    _window = std::make_unique<Window>(placement(anchor, size, edge), WindowStyleMaskBorderless,
                                       BackingStoreType::Buffered, false);
    _window->setReleasedWhenClosed(false);
    _window->setParentWindow(anchorWindow);
    _window->setLevel(popoverWindowLevel);
    content->setFrame(Rect(Point{}, size));
    _shownView = _window->contentView()->addSubview(std::move(content));
    _window->orderFront(this);
    NotificationCenter::defaultCenter().addObserver(*this, sel("anchorWindowWillClose:"),
                                                    WindowWillCloseNotification, anchorWindow);
}

void Popover::close() {
    if (!_window) {
        return;
    }
    NotificationCenter::defaultCenter().removeObserver(*this);
    _window->close();
    if (_contentViewController) {
        _contentViewController->setView(_shownView->removeFromSuperview());
    }
    _shownView = nullptr;
    _window.reset();
    if (_delegate) {
        Notification notification(PopoverDidCloseNotification, this);
        _delegate->popoverDidClose(notification);
    }
}

Rect Popover::placement(const Rect& anchor, Size size, RectEdge edge) {
    switch (edge) {
        case RectEdge::MinX:
            return Rect(anchor.minX() - size.width, anchor.midY() - size.height / 2.0, size.width,
                        size.height);
        case RectEdge::MaxX:
            return Rect(anchor.maxX(), anchor.midY() - size.height / 2.0, size.width, size.height);
        case RectEdge::MaxY:
            return Rect(anchor.midX() - size.width / 2.0, anchor.maxY(), size.width, size.height);
        case RectEdge::MinY:
            break;
    }
    return Rect(anchor.midX() - size.width / 2.0, anchor.minY() - size.height, size.width, size.height);
}

}  // namespace kit
