#include "kit/appkit/View.h"

#include "kit/appkit/Window.h"
#include "kit/quartz/Layer.h"

namespace kit {

View::View(const Rect& frame) : _frame(frame) {}

View::~View() = default;

void View::setFrame(const Rect& frame) {
    if (frame == _frame) {
        return;
    }
    const bool resized = frame.size != _frame.size;
    _frame = frame;
    syncLayerFrame();
    // A resized layer tree would keep its old sublayer frames until the next refresh and leave part of
    // the view unpainted, so any policy but Never refreshes on a size change.
    if (resized && _redrawPolicy != LayerContentsRedrawPolicy::Never) {
        setNeedsDisplay(true);
    }
}

View* View::addSubview(std::unique_ptr<View> view) {
    View* added = view.get();
    added->_superview = this;
    added->setWindow(_window);
    _subviews.push_back(std::move(view));
    if (_layer && added->_layer) {
        _layer->addSublayer(added->_layer);
    }
    return added;
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

}  // namespace kit
