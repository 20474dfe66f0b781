#pragma once

#include <memory>
#include <string>

#include "kit/appkit/Color.h"
#include "kit/appkit/Window.h"

// The borderless, click-through window laid over the menu bar. Its class operations are also the store
// of the three tint colours, kept in the user defaults per desktop picture with a shared fall-back.
class KRTintWindow : public kit::Window {
public:
    using kit::Window::Window;

    // Joins the active space when ordered front, and stays out of window cycling.
    std::uint64_t collectionBehavior() const override {
        return kit::WindowCollectionBehaviorMoveToActiveSpace | kit::WindowCollectionBehaviorTransient;
    }
    bool canBecomeKeyWindow() const override { return false; }
    bool canBecomeMainWindow() const override { return false; }
    bool ignoresMouseEvents() const override { return true; }

    // A new, fully transparent tint window over `frame` (global screen coordinates); the caller owns it.
    static std::unique_ptr<KRTintWindow> newTintWindowWithFrame(const kit::Rect& frame);

    static constexpr int tintWindowLevel = kit::StatusWindowLevel + 1;

    // --- Colour store. Writing never redraws: callers ask the tint view for a redraw themselves.
    static void setColor(const kit::Color& color, const std::string& key);
    static kit::Color colorForKey(const std::string& key, double defaultAlpha);
    static void setTopColor(const kit::Color& color);
    static void setCenterColor(const kit::Color& color);
    static void setBottomColor(const kit::Color& color);
    static kit::Color topColor();
    static kit::Color centerColor();
    static kit::Color bottomColor();
};
