#include "kit/appkit/View.h"

#include <algorithm>

#include "kit/appkit/Appearance.h"
#include "kit/appkit/ScrollView.h"
#include "kit/appkit/Window.h"
#include "kit/quartz/Layer.h"

namespace kit {

View::View(const Rect& frame) : _frame(frame) {}

View::~View() = default;

void View::setFrame(const Rect& frame) {
    if (frame == _frame) {
        return;
    }
    const Size oldSize = _frame.size;
    const bool resized = frame.size != oldSize;
    _frame = frame;
    syncLayerFrame();
    if (resized && _autoresizesSubviews) {
        resizeSubviewsWithOldSize(oldSize);
    }
    // A resized layer tree would keep its old sublayer frames until the next refresh and leave part of
    // the view unpainted, so any policy but Never refreshes on a size change.
    if (resized && _redrawPolicy != LayerContentsRedrawPolicy::Never) {
        setNeedsDisplay(true);
    }
    shownStateDidChange();
}

void View::setHidden(bool hidden) {
    _hidden = hidden;
    shownStateDidChange();
}

void View::shownStateDidChange() {
    if (_window) {
        _window->viewDidChange(*this);
    }
}

void View::resizeSubviewsWithOldSize(const Size& oldSize) {
    for (auto& subview : _subviews) {
        subview->resizeWithOldSuperviewSize(oldSize);
    }
}

namespace {

// One axis of a frame: the change of the superview's extent goes in equal parts to whichever of the
// low margin, the extent and the high margin are flexible; with none flexible the view keeps its place.
void autoresizeAxis(double& origin, double& extent, double change, bool lowFlexible, bool extentFlexible,
                    bool highFlexible) {
    const int flexibleParts = int(lowFlexible) + int(extentFlexible) + int(highFlexible);
    if (flexibleParts == 0) {
        return;
    }
    const double share = change / flexibleParts;
    if (lowFlexible) {
        origin += share;
    }
    if (extentFlexible) {
        extent = std::max(extent + share, 0.0);
    }
}

}  // namespace

void View::resizeWithOldSuperviewSize(const Size& oldSize) {
    if (!_superview || _autoresizingMask == ViewNotSizable) {
        return;
    }
    const Size newSize = _superview->_frame.size;
    Rect frame = _frame;
    autoresizeAxis(frame.origin.x, frame.size.width, newSize.width - oldSize.width,
                   _autoresizingMask & ViewMinXMargin, _autoresizingMask & ViewWidthSizable,
                   _autoresizingMask & ViewMaxXMargin);
    autoresizeAxis(frame.origin.y, frame.size.height, newSize.height - oldSize.height,
                   _autoresizingMask & ViewMinYMargin, _autoresizingMask & ViewHeightSizable,
                   _autoresizingMask & ViewMaxYMargin);
    setFrame(frame);
}

View* View::addSubview(std::unique_ptr<View> view) {
    View* added = view.get();
    added->_superview = this;
    added->setWindow(_window);
    _subviews.push_back(std::move(view));
    if (_layer && added->_layer) {
        _layer->addSublayer(added->_layer);
    }
    added->shownStateDidChange();
    return added;
}

std::unique_ptr<View> View::removeFromSuperview() {
    if (!_superview) {
        return nullptr;
    }
    auto& siblings = _superview->_subviews;
    const auto found =
        std::find_if(siblings.begin(), siblings.end(),
                     [this](const std::unique_ptr<View>& sibling) { return sibling.get() == this; });
    if (_window) {
        _window->viewWillBeRemoved(*this);
    }
    std::unique_ptr<View> removed = std::move(*found);
    siblings.erase(found);
    if (_layer && _layer->superlayer()) {
        _layer->removeFromSuperlayer();
    }
    _superview = nullptr;
    setWindow(nullptr);
    return removed;
}

ScrollView* View::enclosingScrollView() const {
    for (View* ancestor = _superview; ancestor; ancestor = ancestor->_superview) {
        if (auto* scrollView = dynamic_cast<ScrollView*>(ancestor)) {
            return scrollView;
        }
    }
    return nullptr;
}

void View::setWindow(Window* window) {
    _window = window;
    for (auto& subview : _subviews) {
        subview->setWindow(window);
    }
    if (_needsDisplay && _window) {
        _window->viewNeedsDisplay();
    }
}

void View::setWantsLayer(bool wantsLayer) {
    if (wantsLayer && !_layer) {
        _layer = Layer::make();
        syncLayerFrame();
    } else if (!wantsLayer) {
        _layer.reset();
    }
}

void View::syncLayerFrame() {
    if (_layer) {
        _layer->setFrame(_frame);
    }
}

void View::setNeedsDisplay(bool needsDisplay) {
    _needsDisplay = needsDisplay;
    if (needsDisplay && _window) {
        _window->viewNeedsDisplay();
    }
}

bool View::displayIfNeeded() {
    bool refreshed = false;
    if (_needsDisplay) {
        _needsDisplay = false;
        if (wantsUpdateLayer() && _layer) {
            updateLayer();
        }
        refreshed = true;
    }
    for (auto& subview : _subviews) {
        refreshed = subview->displayIfNeeded() || refreshed;
    }
    return refreshed;
}

Rect View::convertRectToWindow(const Rect& rect) const {
    Rect converted = rect;
    for (const View* view = this; view; view = view->_superview) {
        if (view->_superview && view->_superview->isFlipped() != view->isFlipped()) {
            converted.origin.y = view->_frame.height() - converted.maxY();
        }
        converted.origin.x += view->_frame.minX();
        converted.origin.y += view->_frame.minY();
    }
    return converted;
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
    const Rect inWindow = view ? view->convertRectToWindow(rect) : rect;
    // Walk from the window down to this view, undoing each frame offset.
    std::vector<const View*> chain;
    for (const View* ancestor = this; ancestor; ancestor = ancestor->_superview) {
        chain.push_back(ancestor);
    }
    Rect converted = inWindow;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const View* current = *it;
        converted.origin.x -= current->_frame.minX();
        converted.origin.y -= current->_frame.minY();
        if (current->_superview && current->_superview->isFlipped() != current->isFlipped()) {
            converted.origin.y = current->_frame.height() - converted.maxY();
        }
    }
    return converted;
}

std::shared_ptr<Appearance> View::effectiveAppearance() const {
    for (const View* view = this; view; view = view->_superview) {
        if (view->_appearance) {
            return view->_appearance;
        }
    }
    return Appearance::system();
}

}  // namespace kit
