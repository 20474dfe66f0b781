#pragma once

namespace kit {

class View;

// A host's presenter of one kit window. The window (the model) owns its peer and tells it what changed;
// the peer reads the new state from the window. A peer reads the whole window, views included, when it is
// made; after that it hears of every change. Hosts mirror each other's peers file for file.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    // The frame changed (global screen coordinates, points).
    virtual void frameDidChange() = 0;
    // The level changed.
    virtual void levelDidChange() = 0;
    // The opacity target changed; `fadeDuration` 0 means at once, otherwise a fade over that many seconds.
    virtual void alphaDidChange(double fadeDuration) = 0;
    // The window was ordered front (shown, on the active space).
    virtual void didOrderFront() = 0;
    // The window became the one that takes key presses.
    virtual void didBecomeKey() = 0;
    // The window was closed (hidden; the owner may release it).
    virtual void didClose() = 0;
    // The content's layers changed and must be rendered again.
    virtual void contentDidChange() = 0;
    // The title changed.
    virtual void titleDidChange() = 0;
    // The content view was replaced (or removed); the old one's views still exist during the call.
    virtual void contentViewDidChange() = 0;
    // Something `view` shows changed (its frame, visibility, value, title, items…), or it was just added
    // to the window's view tree, with its subviews.
    virtual void viewDidChange(View& view) = 0;

    // --- Titlebar accessories and removed views
    // The window's titlebar accessories were added, removed or laid out again.
    virtual void titlebarAccessoriesDidChange() {}
    // `view` (with its subviews) is about to leave the window.
    virtual void viewWillBeRemoved(View& /*view*/) {}
};

}  // namespace kit
