#include "hosts/qt/gnome/GnomeShellState.h"

#include "kit/quartz/WindowList.h"

namespace qthost {

namespace {

// The layer the window server gives its menu bar.
constexpr int menuBarLayer = 24;
// Far off every screen: hovering over nothing.
constexpr int nowhere = -1000000;

}  // namespace

kit::PropertyList::Array gnomeWindowList(const GnomeShellState& state, const std::vector<SessionScreen>& screens) {
    if (!state.panelShows || state.panel.width <= 0 || state.panel.height <= 0) {
        return {};
    }
    const PixelRect origin = screens.empty() ? PixelRect{} : screens.front().geometry;
    const kit::Rect bounds(state.panel.x - origin.x, state.panel.y - origin.y, state.panel.width,
                           state.panel.height);
    return {kit::PropertyList::Dictionary{
        {kit::WindowNumber, std::int64_t{1}},
        {kit::WindowLayer, menuBarLayer},
        {kit::WindowOwnerName, "Window Server"},
        {kit::WindowName, "Menubar"},
        {kit::WindowIsOnscreen, true},
        {kit::WindowBounds, kit::dictionaryRepresentation(bounds)},
    }};
}

PixelPoint gnomePointer(const GnomeShellState& state) {
    if (!state.pointerOnPanel) {
        return PixelPoint{nowhere, nowhere};
    }
    return PixelPoint{state.panel.x + state.panel.width / 2, state.panel.y + state.panel.height / 2};
}

}  // namespace qthost
