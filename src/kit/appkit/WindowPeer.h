#pragma once

namespace kit {

// A host's presenter of one kit window. The window (the model) owns its peer and tells it what changed;
// the peer reads the new state from the window. Hosts mirror each other's peers file for file.
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
};

}  // namespace kit
