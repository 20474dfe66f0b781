#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "kit/foundation/PropertyList.h"

// What a layer-shell compositor lets a client learn of the panels on each output, recorded as plain values,
// and how that becomes the window server's list and the place of our tint. Kept free of libwayland so it can
// be tested without a compositor.
namespace qthost {

// One output as its probes measured it, in the compositor's logical units (surface coordinates).
struct OutputArea {
    std::string output;     // the output's name; empty when the compositor names none
    int width = 0;          // the whole output
    int height = 0;
    int usableWidth = 0;    // what the panels' exclusive zones leave
    int usableHeight = 0;
    // Rows reserved along the top edge; nullopt while not measured, or where the compositor does not tell
    // (then whatever is reserved counts as the top's).
    std::optional<int> usableTop;
    bool fullScreen = false;  // the window the user works in covers the output
    friend bool operator==(const OutputArea&, const OutputArea&) = default;
};

// The rows the panels reserve at the top of `area`'s output; 0 when none, or when it is too much to be a bar
// (more than half the output).
int reservedTop(const OutputArea& area);

// The window server's list, frontmost first, in the kit's keys: one menu-bar window per output whose top
// a panel reserves, across the output, as tall as the reservation, in points from the top left of the first
// screen (`screens`, primary first, in Qt's coordinates). An output Qt does not list, or one a full-screen
// window covers, is left out.
kit::PropertyList::Array translateWaylandWindowList(const std::vector<SessionScreen>& screens,
                                                    const std::vector<OutputArea>& areas);

// A toplevel window as the compositor's list of windows tells it.
struct ToplevelState {
    bool fullScreen = false;
    bool activated = false;              // the one the user works in
    std::vector<std::string> outputs;  // the outputs it shows on, by name
};

// The outputs a full-screen window covers: the activated one's (a full-screen window left behind on another
// workspace keeps its state but covers nothing).
std::set<std::string> outputsCoveredByFullScreen(const std::vector<ToplevelState>& toplevels);

// Where a layer surface anchored to the top, left and right edges of an output lies, in that output's
// logical units.
struct LayerPlacement {
    std::string output;
    int top = 0;
    int left = 0;
    int right = 0;
    int height = 0;
    double unitsPerPoint = 1.0;  // logical units per point (Qt's device-independent pixel)
    friend bool operator==(const LayerPlacement&, const LayerPlacement&) = default;
};

// The placement of an overlay whose frame is `geometry` (Qt's coordinates): on the screen holding its top
// left corner (else the primary one), as margins from that output's edges; nullopt without screens or for an
// empty geometry.
std::optional<LayerPlacement> placeOverlay(const PixelRect& geometry, const std::vector<SessionScreen>& screens,
                                           const std::vector<OutputArea>& areas);

}  // namespace qthost
