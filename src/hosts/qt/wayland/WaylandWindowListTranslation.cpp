#include "hosts/qt/wayland/WaylandWindowListTranslation.h"

#include <algorithm>
#include <cmath>

#include "kit/quartz/WindowList.h"

namespace qthost {

namespace {

// The window server's layer our list gives the menu bar.
constexpr int menuBarLayer = 24;

const OutputArea* areaOf(const SessionScreen& screen, const std::vector<SessionScreen>& screens,
                         const std::vector<OutputArea>& areas) {
    for (const OutputArea& area : areas) {
        if (area.output == screen.name) {
            return &area;
        }
    }
    // A compositor that names no output can only be matched when there is one.
    if (areas.size() == 1 && screens.size() == 1 && areas.front().output.empty()) {
        return &areas.front();
    }
    return nullptr;
}

// Logical units per point: Qt may scale its coordinates on top of the compositor's (QT_SCALE_FACTOR).
double unitsPerPoint(const SessionScreen& screen, const OutputArea* area) {
    if (!area || area->height <= 0 || screen.geometry.height <= 0) {
        return 1.0;
    }
    return static_cast<double>(area->height) / screen.geometry.height;
}

kit::PropertyList menuBarEntry(std::size_t screenIndex, const kit::Rect& bounds) {
    return kit::PropertyList::Dictionary{
        {kit::WindowNumber, static_cast<std::int64_t>(screenIndex + 1)},
        {kit::WindowLayer, menuBarLayer},
        {kit::WindowOwnerName, "Window Server"},
        {kit::WindowName, "Menubar"},
        {kit::WindowIsOnscreen, true},
        {kit::WindowBounds, kit::dictionaryRepresentation(bounds)},
    };
}

bool contains(const PixelRect& rect, int x, int y) {
    return x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
}

}  // namespace

int reservedTop(const OutputArea& area) {
    const int reserved = area.usableTop.value_or(area.height - area.usableHeight);
    return reserved > 0 && reserved * 2 <= area.height ? reserved : 0;
}

kit::PropertyList::Array translateWaylandWindowList(const std::vector<SessionScreen>& screens,
                                                    const std::vector<OutputArea>& areas) {
    kit::PropertyList::Array list;
    if (screens.empty()) {
        return list;
    }
    const PixelRect& origin = screens.front().geometry;
    for (std::size_t index = 0; index < screens.size(); ++index) {
        const SessionScreen& screen = screens[index];
        const OutputArea* area = areaOf(screen, screens, areas);
        const int reserved = area && !area->fullScreen ? reservedTop(*area) : 0;
        if (reserved == 0) {
            continue;
        }
        const kit::Rect bounds(screen.geometry.x - origin.x, screen.geometry.y - origin.y, screen.geometry.width,
                               reserved / unitsPerPoint(screen, area));
        list.push_back(menuBarEntry(index, bounds));
    }
    return list;
}

std::set<std::string> outputsCoveredByFullScreen(const std::vector<ToplevelState>& toplevels) {
    std::set<std::string> covered;
    for (const ToplevelState& toplevel : toplevels) {
        if (toplevel.fullScreen && toplevel.activated) {
            covered.insert(toplevel.outputs.begin(), toplevel.outputs.end());
        }
    }
    return covered;
}

std::optional<LayerPlacement> placeOverlay(const PixelRect& geometry, const std::vector<SessionScreen>& screens,
                                           const std::vector<OutputArea>& areas) {
    if (screens.empty() || geometry.width <= 0 || geometry.height <= 0) {
        return std::nullopt;
    }
    const SessionScreen* screen = &screens.front();
    for (const SessionScreen& candidate : screens) {
        if (contains(candidate.geometry, geometry.x, geometry.y)) {
            screen = &candidate;
            break;
        }
    }
    const double units = unitsPerPoint(*screen, areaOf(*screen, screens, areas));
    const auto toUnits = [units](int points) { return static_cast<int>(std::lround(points * units)); };
    const PixelRect& frame = screen->geometry;
    LayerPlacement placement;
    placement.output = screen->name;
    placement.top = toUnits(geometry.y - frame.y);
    placement.left = toUnits(geometry.x - frame.x);
    placement.right = toUnits(frame.x + frame.width - (geometry.x + geometry.width));
    placement.height = std::max(1, toUnits(geometry.height));
    placement.unitsPerPoint = units;
    return placement;
}

}  // namespace qthost
