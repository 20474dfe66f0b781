#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/appkit/Color.h"
#include "kit/appkit/Screen.h"
#include "kit/appkit/TitlebarAccessoryViewController.h"
#include "kit/appkit/View.h"
#include "kit/appkit/WindowPeer.h"
#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"

namespace kit {

inline constexpr std::uint64_t WindowStyleMaskBorderless = 0;
inline constexpr std::uint64_t WindowStyleMaskTitled = 1u << 0;
inline constexpr std::uint64_t WindowStyleMaskClosable = 1u << 1;
inline constexpr std::uint64_t WindowStyleMaskMiniaturizable = 1u << 2;
inline constexpr std::uint64_t WindowStyleMaskResizable = 1u << 3;
enum class BackingStoreType { Retained = 0, Nonretained = 1, Buffered = 2 };

inline constexpr std::uint64_t WindowCollectionBehaviorCanJoinAllSpaces = 1u << 0;
inline constexpr std::uint64_t WindowCollectionBehaviorMoveToActiveSpace = 1u << 1;
inline constexpr std::uint64_t WindowCollectionBehaviorTransient = 1u << 3;

inline constexpr const char* WindowWillCloseNotification = "NSWindowWillCloseNotification";
// Posted by setFrame: when the window's origin, or its size, changed.
inline constexpr const char* WindowDidMoveNotification = "NSWindowDidMoveNotification";
inline constexpr const char* WindowDidResizeNotification = "NSWindowDidResizeNotification";

inline constexpr int NormalWindowLevel = 0;
inline constexpr int StatusWindowLevel = 25;

class Button;
class Window;

// The buttons of a titled window's titlebar (NSWindowButton).
enum class WindowButton { Close = 0, Miniaturize = 1, Zoom = 2 };
// Whether a window may join others as tabs (NSWindowTabbingMode).
enum class WindowTabbingMode { Automatic = 0, Preferred = 1, Disallowed = 2 };

// The animator proxy of a window: changes through it are timed by the current animation context.
class WindowAnimator {
public:
    explicit WindowAnimator(Window& window) : _window(window) {}
    // The window's alphaValue reads the target at once; the host animates what is shown.
    void setAlphaValue(double alpha);

private:
    Window& _window;
};

// A window (NSWindow): the kit keeps its state; a host peer, made when the window first needs
// presenting, mirrors it on screen. Frames are in global screen coordinates.
class Window : public Object {
public:
    Window(const Rect& contentRect, std::uint64_t styleMask, BackingStoreType backing, bool defer);
    ~Window() override;

    std::uint64_t styleMask() const { return _styleMask; }
    BackingStoreType backingType() const { return _backing; }

    // Properties subclasses override.
    virtual std::uint64_t collectionBehavior() const { return _collectionBehavior; }
    void setCollectionBehavior(std::uint64_t behavior) { _collectionBehavior = behavior; }
    virtual bool canBecomeKeyWindow() const { return _styleMask != WindowStyleMaskBorderless; }
    virtual bool canBecomeMainWindow() const { return _styleMask != WindowStyleMaskBorderless; }
    virtual bool ignoresMouseEvents() const { return _ignoresMouseEvents; }
    void setIgnoresMouseEvents(bool ignores) { _ignoresMouseEvents = ignores; }

    bool isReleasedWhenClosed() const { return _releasedWhenClosed; }
    void setReleasedWhenClosed(bool released) { _releasedWhenClosed = released; }
    bool isOpaque() const { return _opaque; }
    void setOpaque(bool opaque) { _opaque = opaque; }
    const Color& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const Color& color) { _backgroundColor = color; }
    bool hasShadow() const { return _hasShadow; }
    void setHasShadow(bool hasShadow) { _hasShadow = hasShadow; }

    // The opacity as set, read back unchanged.
    double alphaValue() const { return _alphaValue; }
    void setAlphaValue(double alpha);
    // The opacity a host shows: alphaValue clamped to [0, 1]; NaN shows as a window's default, 1.
    double presentedAlphaValue() const;
    WindowAnimator animator() { return WindowAnimator(*this); }

    int level() const { return _level; }
    void setLevel(int level);

    Rect frame() const { return _frame; }
    void setFrame(const Rect& frame, bool display, bool animate = false);

    const std::string& title() const { return _title; }
    void setTitle(const std::string& title);
    bool hidesOnDeactivate() const { return _hidesOnDeactivate; }
    void setHidesOnDeactivate(bool hides) { _hidesOnDeactivate = hides; }
    // The window this one belongs to (a popover's window to the window it points into), or nullptr: a host
    // keeps it above that window and out of the desktop's lists of windows. Set before it is first shown.
    Window* parentWindow() const { return _parentWindow; }
    void setParentWindow(Window* parent) { _parentWindow = parent; }

    void orderFront(Object* sender);
    // Orders the window front and makes it the one that takes key presses.
    virtual void makeKeyAndOrderFront(Object* sender);
    bool isKeyWindow() const { return _keyWindow; }
    // The window became the one that takes key presses, and every other window of the application resigns
    // it: makeKeyAndOrderFront calls it, and a host calls it when the user gave the window the keyboard. A
    // window that cannot become key stays as it is.
    void becomeKeyWindow();
    // Puts the window in the middle of the primary screen across, and somewhat above the middle, as the
    // platform does: a third of the free height above it, two thirds below. Whole points.
    void center();
    void close();
    bool isVisible() const { return _visible; }
    // Visible on the desktop the user sees now.
    bool isOnActiveSpace() const;

    View* contentView() const { return _contentView.get(); }
    void setContentView(std::unique_ptr<View> view);

    // The screen holding the largest part of the window, nullopt when it is on none.
    std::optional<Screen> screen() const;
    // From global screen coordinates into the window's (origin at the window's lower left).
    Rect convertRectFromScreen(const Rect& rect) const;

    // Refreshes the views that asked for it; the run loop calls it once per turn after a request.
    void displayIfNeeded();
    // A view of this window asked for a refresh.
    void viewNeedsDisplay();
    // Something a view of this window shows changed: the peer, if there is one yet, hears of it.
    void viewDidChange(View& view);

    WindowPeer* peer() { return _peer.get(); }

    // Posts WindowDidUpdateNotification for this window; hosts call it for the visible windows once they
    // have handled an event of the user's (NSWindow update).
    void update();
    // --- Titlebar accessories, titlebar buttons, tabbing, backing scale
    bool isResizable() const { return (_styleMask & WindowStyleMaskResizable) != 0; }
    // A titled window's titlebar button, enabled when the style mask offers it; nullptr without a titlebar.
    Button* standardWindowButton(WindowButton kind);
    WindowTabbingMode tabbingMode() const { return _tabbingMode; }
    void setTabbingMode(WindowTabbingMode mode) { _tabbingMode = mode; }
    // The scale of the screen the window is on (of the primary screen when on none; 1 with no screen).
    double backingScaleFactor() const;
    // The entries in the order the window keeps them. The window holds each entry and lays its view out
    // along its top edge, right-hand entries from the right, in this order.
    const std::vector<std::shared_ptr<TitlebarAccessoryViewController>>& titlebarAccessoryViewControllers()
        const {
        return _titlebarAccessories;
    }
    void addTitlebarAccessoryViewController(std::shared_ptr<TitlebarAccessoryViewController> controller);
    void removeTitlebarAccessoryViewController(TitlebarAccessoryViewController& controller);
    // A view of this window is about to leave it: its peer lets go of what presents it.
    void viewWillBeRemoved(View& view);

private:
    void layoutTitlebarAccessories();
    void titlebarAccessoriesDidChange();

    friend class WindowAnimator;
    void setAlphaValue(double alpha, double fadeDuration);
    WindowPeer& ensurePeer();

    std::uint64_t _styleMask;
    BackingStoreType _backing;
    std::uint64_t _collectionBehavior = 0;
    bool _ignoresMouseEvents = false;
    bool _releasedWhenClosed = true;
    bool _opaque = true;
    Color _backgroundColor = Color::white();
    bool _hasShadow = true;
    double _alphaValue = 1.0;
    int _level = NormalWindowLevel;
    Rect _frame;
    bool _visible = false;
    bool _keyWindow = false;
    bool _hidesOnDeactivate = false;
    Window* _parentWindow = nullptr;
    std::string _title;
    int _space = 0;
    bool _displayScheduled = false;
    std::unique_ptr<View> _contentView;
    std::unique_ptr<WindowPeer> _peer;
    std::vector<std::unique_ptr<Button>> _standardButtons;
    WindowTabbingMode _tabbingMode = WindowTabbingMode::Automatic;
    std::vector<std::shared_ptr<TitlebarAccessoryViewController>> _titlebarAccessories;

public:
    static const DispatchTable& classDispatchTable();

protected:
    const DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

}  // namespace kit
