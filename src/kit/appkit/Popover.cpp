#include "kit/appkit/Popover.h"

#include <algorithm>

namespace kit {

namespace {

const Selector anchorWindowWillCloseSelector = sel("anchorWindowWillClose:");
const Selector anchorWindowDidChangeFrameSelector = sel("anchorWindowDidChangeFrame:");

Rect againstSide(const Rect& anchor, Size size, RectEdge edge) {
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

RectEdge opposite(RectEdge edge) {
    switch (edge) {
        case RectEdge::MinX:
            return RectEdge::MaxX;
        case RectEdge::MaxX:
            return RectEdge::MinX;
        case RectEdge::MaxY:
            return RectEdge::MinY;
        case RectEdge::MinY:
            break;
    }
    return RectEdge::MaxY;
}

// Whether `frame`, opened on side `edge` of its anchor, stays inside `screen` on that side.
bool fitsOnSide(const Rect& frame, RectEdge edge, const Rect& screen) {
    switch (edge) {
        case RectEdge::MinX:
            return frame.minX() >= screen.minX();
        case RectEdge::MaxX:
            return frame.maxX() <= screen.maxX();
        case RectEdge::MaxY:
            return frame.maxY() <= screen.maxY();
        case RectEdge::MinY:
            break;
    }
    return frame.minY() >= screen.minY();
}

bool holds(const View& view, const View* wanted) {
    if (&view == wanted) {
        return true;
    }
    return std::any_of(view.subviews().begin(), view.subviews().end(),
                       [wanted](const auto& subview) { return holds(*subview, wanted); });
}

// Whether `view` is still one of the window's own, titlebar accessories included: only then may it be read.
bool windowHolds(const Window& window, const View* view) {
    if (window.contentView() && holds(*window.contentView(), view)) {
        return true;
    }
    const auto& accessories = window.titlebarAccessoryViewControllers();
    return std::any_of(accessories.begin(), accessories.end(),
                       [view](const auto& entry) { return entry->view() && holds(*entry->view(), view); });
}

// An origin that keeps [origin, origin + length] inside [low, high]; the low end when it cannot fit.
double keptWithin(double origin, double length, double low, double high) {
    return std::max(low, std::min(origin, high - length));
}

}  // namespace

const DispatchTable& Popover::classDispatchTable() {
    static const DispatchTable table(
        &Object::classDispatchTable(),
        {action<&Popover::anchorWindowWillClose>(anchorWindowWillCloseSelector.name()),
         action<&Popover::anchorWindowDidChangeFrame>(anchorWindowDidChangeFrameSelector.name())});
    return table;
}

void Popover::showRelativeToRect(const Rect& rect, View& view, RectEdge edge) {
    Window* anchorWindow = view.window();
    if (_window || !anchorWindow || !_contentViewController || !_contentViewController->view()) {
        return;
    }
    std::unique_ptr<View> content = _contentViewController->takeView();
    const Size size = content->frame().size;
    _anchorWindow = anchorWindow;
    _anchorView = &view;
    _anchorRect = rect;
    _edge = edge;
    _window = std::make_unique<Window>(placedFrame(size), WindowStyleMaskBorderless, BackingStoreType::Buffered,
                                       false);
    // Before anything makes the window's peer, which reads it once.
    _window->setParentWindow(anchorWindow);
    _window->setReleasedWhenClosed(false);
    content->setFrame(Rect(Point{}, size));
    _shownView = _window->contentView()->addSubview(std::move(content));
    _window->orderFront(this);
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(*this, anchorWindowWillCloseSelector, WindowWillCloseNotification, anchorWindow);
    center.addObserver(*this, anchorWindowDidChangeFrameSelector, WindowDidMoveNotification, anchorWindow);
    center.addObserver(*this, anchorWindowDidChangeFrameSelector, WindowDidResizeNotification, anchorWindow);
}

Rect Popover::anchorOnScreen() const {
    Rect anchor = _anchorView->convertRectToWindow(_anchorRect);
    anchor.origin.x += _anchorWindow->frame().minX();
    anchor.origin.y += _anchorWindow->frame().minY();
    return anchor;
}

Rect Popover::placedFrame(Size size) const {
    const std::optional<Screen> screen = _anchorWindow->screen();
    return screen ? placement(anchorOnScreen(), size, _edge, screen->visibleFrame())
                  : againstSide(anchorOnScreen(), size, _edge);
}

void Popover::anchorWindowDidChangeFrame(Object* /*notification*/) {
    // An anchor taken out of its window stays where it was last seen.
    if (_window && windowHolds(*_anchorWindow, _anchorView)) {
        _window->setFrame(placedFrame(_window->frame().size), true);
    }
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
    _anchorWindow = nullptr;
    _anchorView = nullptr;
    _window.reset();
    if (_delegate) {
        Notification notification(PopoverDidCloseNotification, this);
        _delegate->popoverDidClose(notification);
    }
}

Rect Popover::placement(const Rect& anchor, Size size, RectEdge edge, const Rect& screen) {
    Rect frame = againstSide(anchor, size, edge);
    if (!fitsOnSide(frame, edge, screen)) {
        const Rect other = againstSide(anchor, size, opposite(edge));
        if (fitsOnSide(other, opposite(edge), screen)) {
            frame = other;
        }
    }
    frame.origin.x = keptWithin(frame.minX(), size.width, screen.minX(), screen.maxX());
    frame.origin.y = keptWithin(frame.minY(), size.height, screen.minY(), screen.maxY());
    return frame;
}

}  // namespace kit
