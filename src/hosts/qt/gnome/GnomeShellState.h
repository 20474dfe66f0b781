#pragma once

#include <cstdint>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "kit/foundation/PropertyList.h"

// What Awning's GNOME Shell extension reports about the top bar, and how that becomes the window server's
// list and the pointer's place. Plain values, so each rule is tested without a shell.
namespace qthost {

// In the shell's logical pixels, which are Qt's device-independent pixels on the same desktop.
struct GnomeShellState {
    PixelRect panel;
    bool panelShows = false;  // false while a full-screen window covers the primary monitor
    bool pointerOnPanel = false;
    PixelRect primaryMonitor;
    friend bool operator==(const GnomeShellState&, const GnomeShellState&) = default;
};

// The bar as the menu-bar window, while it shows and has a size; nothing else (GNOME Shell tells of no other
// windows). Bounds in points from the top left of the first screen.
kit::PropertyList::Array gnomeWindowList(const GnomeShellState& state, const std::vector<SessionScreen>& screens);

// Where the pointer is, as far as the bar's tint needs it: the bar's middle while the pointer is on the bar,
// else far off every screen. In Qt's global coordinates.
PixelPoint gnomePointer(const GnomeShellState& state);

}  // namespace qthost
