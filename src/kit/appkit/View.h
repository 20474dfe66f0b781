#pragma once

#include <memory>
#include <vector>

#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"

namespace kit {

class Layer;
class Window;

enum class LayerContentsRedrawPolicy {
    Never = 0,
    OnSetNeedsDisplay = 1,
    DuringViewResize = 2,
    BeforeViewResize = 3
};

// A rectangle of a window's content (NSView). Unflipped unless a subclass says otherwise. A view owns its
// subviews; its window and superview are borrowed.
class View : public Object {
public:
    explicit View(const Rect& frame);
    ~View() override;

    Rect frame() const { return _frame; }
    virtual void setFrame(const Rect& frame);
    Rect bounds() const { return Rect(Point{}, _frame.size); }
    virtual bool isFlipped() const { return false; }

    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }

    View* superview() const { return _superview; }
    const std::vector<std::unique_ptr<View>>& subviews() const { return _subviews; }
    View* addSubview(std::unique_ptr<View> view);
    Window* window() const { return _window; }

    // Layer backing: a view that wants a layer gets a plain backing layer whose frame follows the view.
    void setWantsLayer(bool wantsLayer);
    bool wantsLayer() const { return _layer != nullptr; }
    Layer* layer() const { return _layer.get(); }
    LayerContentsRedrawPolicy layerContentsRedrawPolicy() const { return _redrawPolicy; }
    void setLayerContentsRedrawPolicy(LayerContentsRedrawPolicy policy) { _redrawPolicy = policy; }
    // A view that answers true refreshes through updateLayer, never by drawing.
    virtual bool wantsUpdateLayer() const { return false; }
    virtual void updateLayer() {}

    // Asks for a refresh at the window's next display; false withdraws the request.
    void setNeedsDisplay(bool needsDisplay);
    bool needsDisplay() const { return _needsDisplay; }
    // Refreshes this view and its subviews where requested; true when anything was refreshed.
    bool displayIfNeeded();

    // Converts a rectangle from `view`'s coordinates (nullptr: the window's) into this view's.
    Rect convertRectFromView(const Rect& rect, const View* view) const;
    // Converts a rectangle of this view's into the window's coordinates.
    Rect convertRectToWindow(const Rect& rect) const;

private:
    friend class Window;
    void setWindow(Window* window);
    void syncLayerFrame();

    Rect _frame;
    bool _hidden = false;
    bool _needsDisplay = true;  // a new view refreshes when its window first displays it
    View* _superview = nullptr;
    Window* _window = nullptr;
    std::vector<std::unique_ptr<View>> _subviews;
    std::shared_ptr<Layer> _layer;
    LayerContentsRedrawPolicy _redrawPolicy = LayerContentsRedrawPolicy::DuringViewResize;
};

}  // namespace kit
