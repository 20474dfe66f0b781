#include "kit/appkit/Window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/core/Host.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"

namespace kit {

namespace {
const Selector displayIfNeededSelector = sel("displayIfNeeded");
}

void WindowAnimator::setAlphaValue(double alpha) {
    _window.setAlphaValue(alpha, AnimationContext::currentContext().duration());
}

Window::Window(const Rect& contentRect, std::uint64_t styleMask, BackingStoreType backing, bool /*defer*/)
    : _styleMask(styleMask), _backing(backing), _frame(contentRect) {
    _contentView = std::make_unique<View>(Rect(Point{}, contentRect.size));
    _contentView->setWindow(this);
    Application::shared().windowWasCreated(*this);
}

Window::~Window() {
    Application::shared().windowWillBeDestroyed(*this);
    for (Window* child : Application::shared().windows()) {
        if (child->_parentWindow == this) {
            child->_parentWindow = nullptr;
        }
    }
    _peer.reset();
    _contentView.reset();
    for (const auto& entry : _titlebarAccessories) {
        entry->_parentWindow = nullptr;
        if (View* container = entry->view()) {
            container->setWindow(nullptr);
        }
    }
}

const DispatchTable& Window::classDispatchTable() {
    static const DispatchTable table(&Object::classDispatchTable(),
                                     {action<&Window::displayIfNeeded>(displayIfNeededSelector.name())});
    return table;
}

WindowPeer& Window::ensurePeer() {
    if (!_peer) {
        _peer = host().createWindowPeer(*this);
    }
    return *_peer;
}

void Window::setAlphaValue(double alpha) {
    setAlphaValue(alpha, 0.0);
}

double Window::presentedAlphaValue() const {
    return std::isnan(_alphaValue) ? 1.0 : std::clamp(_alphaValue, 0.0, 1.0);
}

void Window::setAlphaValue(double alpha, double fadeDuration) {
    _alphaValue = alpha;
    ensurePeer().alphaDidChange(fadeDuration);
}

void Window::setLevel(int level) {
    if (level == _level) {
        return;
    }
    _level = level;
    ensurePeer().levelDidChange();
}

void Window::setFrame(const Rect& frame, bool display, bool /*animate*/) {
    if (frame == _frame) {
        return;
    }
    const Rect old = std::exchange(_frame, frame);
    if (_contentView) {
        _contentView->setFrame(Rect(Point{}, frame.size));
    }
    layoutTitlebarAccessories();
    ensurePeer().frameDidChange();
    if (display && _visible && _contentView && _contentView->needsDisplay()) {
        displayIfNeeded();
    }
    if (frame.origin != old.origin) {
        NotificationCenter::defaultCenter().post(WindowDidMoveNotification, this);
    }
    if (frame.size != old.size) {
        NotificationCenter::defaultCenter().post(WindowDidResizeNotification, this);
    }
}

void Window::setTitle(const std::string& title) {
    _title = title;
    // A peer made later reads the title then.
    if (_peer) {
        _peer->titleDidChange();
    }
}

void Window::orderFront(Object* /*sender*/) {
    _visible = true;
    // Ordering front joins the desktop the user sees, which the tint relies on after a space change.
    _space = host().activeSpace();
    ensurePeer().didOrderFront();
    viewNeedsDisplay();
}

void Window::makeKeyAndOrderFront(Object* sender) {
    orderFront(sender);
    if (canBecomeKeyWindow()) {
        becomeKeyWindow();
        ensurePeer().didBecomeKey();
    }
}

void Window::becomeKeyWindow() {
    if (!canBecomeKeyWindow()) {
        return;
    }
    for (Window* other : Application::shared().windows()) {
        other->_keyWindow = false;
    }
    _keyWindow = true;
}

void Window::center() {
    const std::optional<Screen> primary = Screen::primary();
    if (!primary) {
        return;
    }
    const Rect area = primary->visibleFrame();
    Rect frame = _frame;
    frame.origin.x = std::floor(area.minX() + (area.width() - frame.width()) / 2.0);
    frame.origin.y = std::floor(area.minY() + (area.height() - frame.height()) * 2.0 / 3.0);
    setFrame(frame, true);
}

void Window::close() {
    if (!_visible) {
        return;
    }
    NotificationCenter::defaultCenter().post(WindowWillCloseNotification, this);
    _visible = false;
    _keyWindow = false;
    cancelPreviousPerformRequests(*this, displayIfNeededSelector, nullptr);
    _displayScheduled = false;
    ensurePeer().didClose();
}

bool Window::isOnActiveSpace() const {
    if (!_visible) {
        return false;
    }
    return (collectionBehavior() & WindowCollectionBehaviorCanJoinAllSpaces) ||
           _space == host().activeSpace();
}

void Window::setContentView(std::unique_ptr<View> view) {
    // The old view goes last, so the peer can let go of what presents it first.
    const std::unique_ptr<View> old = std::move(_contentView);
    if (old) {
        old->setWindow(nullptr);
    }
    _contentView = std::move(view);
    if (_contentView) {
        _contentView->setWindow(this);
    }
    if (_peer) {
        _peer->contentViewDidChange();
    }
}

std::optional<Screen> Window::screen() const {
    std::optional<Screen> best;
    double bestArea = 0.0;
    for (const Screen& candidate : Screen::screens()) {
        const Rect a = _frame;
        const Rect b = candidate.frame();
        if (!intersectsRect(a, b)) {
            continue;
        }
        const double width = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
        const double height = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
        if (width * height > bestArea) {
            bestArea = width * height;
            best = candidate;
        }
    }
    return best;
}

Rect Window::convertRectFromScreen(const Rect& rect) const {
    return offsetRect(rect, -_frame.minX(), -_frame.minY());
}

void Window::viewNeedsDisplay() {
    if (_displayScheduled || !_visible) {
        return;
    }
    _displayScheduled = true;
    performSelector(*this, displayIfNeededSelector, nullptr, 0.0);
}

void Window::viewDidChange(View& view) {
    if (_peer) {
        _peer->viewDidChange(view);
    }
}

void Window::displayIfNeeded() {
    _displayScheduled = false;
    if (_visible && _contentView && _contentView->displayIfNeeded()) {
        ensurePeer().contentDidChange();
    }
}

void Window::update() {
    NotificationCenter::defaultCenter().post(WindowDidUpdateNotification, this);
}

Button* Window::standardWindowButton(WindowButton kind) {
    if (!(_styleMask & WindowStyleMaskTitled)) {
        return nullptr;
    }
    if (_standardButtons.empty()) {
        const std::uint64_t offeredBy[] = {WindowStyleMaskClosable, WindowStyleMaskMiniaturizable,
                                           WindowStyleMaskResizable};
        for (const std::uint64_t mask : offeredBy) {
            auto button = std::make_unique<Button>(Rect(0, 0, 14, 16));
            button->setEnabled((_styleMask & mask) != 0);
            _standardButtons.push_back(std::move(button));
        }
    }
    return _standardButtons.at(static_cast<std::size_t>(kind)).get();
}

double Window::backingScaleFactor() const {
    std::optional<Screen> shownOn = screen();
    if (!shownOn) {
        shownOn = Screen::primary();
    }
    return shownOn ? shownOn->backingScaleFactor() : 1.0;
}

void Window::addTitlebarAccessoryViewController(std::shared_ptr<TitlebarAccessoryViewController> controller) {
    if (!controller || controller->_parentWindow) {
        return;
    }
    controller->_parentWindow = this;
    if (View* container = controller->view()) {
        container->setWindow(this);
    }
    _titlebarAccessories.push_back(std::move(controller));
    titlebarAccessoriesDidChange();
}

void Window::removeTitlebarAccessoryViewController(TitlebarAccessoryViewController& controller) {
    const auto found = std::find_if(_titlebarAccessories.begin(), _titlebarAccessories.end(),
                                    [&controller](const auto& entry) { return entry.get() == &controller; });
    if (found == _titlebarAccessories.end()) {
        return;
    }
    // Kept alive until the peer has let go of its views.
    const std::shared_ptr<TitlebarAccessoryViewController> removed = *found;
    if (View* container = removed->view()) {
        viewWillBeRemoved(*container);
        container->setWindow(nullptr);
    }
    removed->_parentWindow = nullptr;
    _titlebarAccessories.erase(found);
    titlebarAccessoriesDidChange();
}

void Window::viewWillBeRemoved(View& view) {
    if (_peer) {
        _peer->viewWillBeRemoved(view);
    }
}

void Window::layoutTitlebarAccessories() {
    // Linux window managers draw their own titlebars: the strip lies inside the window's top edge.
    double right = _frame.width();
    for (const auto& entry : _titlebarAccessories) {
        View* container = entry->view();
        if (!container || entry->layoutAttribute() != LayoutAttribute::Right) {
            continue;
        }
        const Size size = container->frame().size;
        right -= size.width;
        container->setFrame(Rect(right, _frame.height() - size.height, size.width, size.height));
    }
}

void Window::titlebarAccessoriesDidChange() {
    layoutTitlebarAccessories();
    if (_peer) {
        _peer->titlebarAccessoriesDidChange();
    }
}

}  // namespace kit
