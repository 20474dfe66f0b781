#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"

namespace kit {

class Appearance;
class Layer;
class ScrollView;
class Window;

// How a view follows its superview's size (NSAutoresizingMaskOptions): each bit marks a flexible margin or
// dimension.
using AutoresizingMask = unsigned;
inline constexpr AutoresizingMask ViewNotSizable = 0;
inline constexpr AutoresizingMask ViewMinXMargin = 1;
inline constexpr AutoresizingMask ViewWidthSizable = 2;
inline constexpr AutoresizingMask ViewMaxXMargin = 4;
inline constexpr AutoresizingMask ViewMinYMargin = 8;
inline constexpr AutoresizingMask ViewHeightSizable = 16;
inline constexpr AutoresizingMask ViewMaxYMargin = 32;

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
    void setHidden(bool hidden);

    View* superview() const { return _superview; }
    const std::vector<std::unique_ptr<View>>& subviews() const { return _subviews; }
    View* addSubview(std::unique_ptr<View> view);
    // Takes this view out of its superview and hands it to the caller; nullptr when it has none.
    std::unique_ptr<View> removeFromSuperview();
    // The same, without asking for a redisplay (nothing in the kit redisplays on removal anyway).
    std::unique_ptr<View> removeFromSuperviewWithoutNeedingDisplay() { return removeFromSuperview(); }
    // The nearest scroll view among the superviews, or nullptr.
    ScrollView* enclosingScrollView() const;
    Window* window() const { return _window; }

    // Springs and struts: when a view's size changes and it autoresizes its subviews (the default), each
    // subview spreads the change evenly over its flexible margins and dimension, per axis.
    AutoresizingMask autoresizingMask() const { return _autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask mask) { _autoresizingMask = mask; }
    bool autoresizesSubviews() const { return _autoresizesSubviews; }
    void setAutoresizesSubviews(bool autoresizes) { _autoresizesSubviews = autoresizes; }
    // This view's size changed from `oldSize`: tells every subview.
    virtual void resizeSubviewsWithOldSize(const Size& oldSize);
    // The superview's size changed from `oldSize`: applies this view's autoresizing mask.
    virtual void resizeWithOldSuperviewSize(const Size& oldSize);

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

    // The view's own appearance (nullptr: none), and the one it is drawn in: its own, else its nearest
    // superview's, else the system's.
    const std::shared_ptr<Appearance>& appearance() const { return _appearance; }
    void setAppearance(std::shared_ptr<Appearance> appearance) { _appearance = std::move(appearance); }
    std::shared_ptr<Appearance> effectiveAppearance() const;
    const std::string& toolTip() const { return _toolTip; }
    void setToolTip(std::string toolTip) { _toolTip = std::move(toolTip); }

protected:
    // Tells the window's presenter that something this view shows changed. Every setter of shown state
    // calls it, so hosts never poll the model.
    void shownStateDidChange();

private:
    friend class Window;
    void setWindow(Window* window);
    void syncLayerFrame();

    Rect _frame;
    bool _hidden = false;
    AutoresizingMask _autoresizingMask = ViewNotSizable;
    bool _autoresizesSubviews = true;
    bool _needsDisplay = true;  // a new view refreshes when its window first displays it
    View* _superview = nullptr;
    Window* _window = nullptr;
    std::vector<std::unique_ptr<View>> _subviews;
    std::shared_ptr<Layer> _layer;
    LayerContentsRedrawPolicy _redrawPolicy = LayerContentsRedrawPolicy::DuringViewResize;
    std::shared_ptr<Appearance> _appearance;
    std::string _toolTip;
};

}  // namespace kit
