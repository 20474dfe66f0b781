#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "hosts/qt/wayland/WaylandWindowListTranslation.h"
#include "kit/quartz/WindowList.h"

using kit::PropertyList;
using namespace qthost;

namespace kit {
// Readable failures; internal so no other test's printer can clash with it.
static void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.minX() << ", " << rect.minY() << ", " << rect.width() << ", " << rect.height() << ")";
}
}  // namespace kit

namespace {

const SessionScreen laptop{"eDP-1", {0, 0, 1280, 720}, {0, 0, 1280, 720}, 1.0};
const SessionScreen monitor{"DP-1", {1280, 0, 1920, 1080}, {1280, 0, 1920, 1080}, 1.0};
// Qt scaling its coordinates on top of the compositor's (QT_SCALE_FACTOR=2): half the units, twice the pixels.
const SessionScreen halved{"eDP-1", {0, 0, 640, 360}, {0, 0, 1280, 720}, 2.0};

OutputArea area(std::string output, int width, int height, int reservedTop, int reservedBottom,
                std::optional<bool> edgeKnown = true) {
    OutputArea result;
    result.output = std::move(output);
    result.width = result.usableWidth = width;
    result.height = height;
    result.usableHeight = height - reservedTop - reservedBottom;
    if (edgeKnown.value_or(false)) {
        result.usableTop = reservedTop;
    }
    return result;
}

OutputArea coveredByFullScreen(OutputArea area) {
    area.fullScreen = true;
    return area;
}

std::vector<kit::Rect> menuBars(const PropertyList::Array& list) {
    std::vector<kit::Rect> bars;
    for (const PropertyList& entry : list) {
        EXPECT_EQ(*entry.find(kit::WindowOwnerName)->string(), "Window Server");
        EXPECT_EQ(*entry.find(kit::WindowName)->string(), "Menubar");
        EXPECT_EQ(entry.find(kit::WindowIsOnscreen)->boolValue().value_or(false), true);
        kit::Rect bounds;
        EXPECT_TRUE(kit::rectMakeWithDictionaryRepresentation(*entry.find(kit::WindowBounds), bounds));
        bars.push_back(bounds);
    }
    return bars;
}

}  // namespace

// What the probes measured on each output becomes one menu-bar window per output whose top a panel reserves,
// across that output, in points from the top left of the primary screen.
TEST(WaylandWindowListTranslation, ATopReservationIsTheMenuBarOfItsOutput) {
    const struct {
        const char* what;  // and the fault it catches
        std::vector<SessionScreen> screens;
        std::vector<OutputArea> areas;
        std::vector<kit::Rect> bars;
    } cases[] = {
        {"a 30 px top bar", {laptop}, {area("eDP-1", 1280, 720, 30, 0)}, {kit::Rect(0, 0, 1280, 30)}},
        {"a bottom bar is no menu bar (the edge read wrongly)", {laptop}, {area("eDP-1", 1280, 720, 0, 30)}, {}},
        {"nothing reserved", {laptop}, {area("eDP-1", 1280, 720, 0, 0)}, {}},
        {"bars at both edges: the top one counts (the bottom one added in)",
         {laptop},
         {area("eDP-1", 1280, 720, 26, 40)},
         {kit::Rect(0, 0, 1280, 26)}},
        {"an edge not told counts as the top", {laptop}, {area("eDP-1", 1280, 720, 30, 0, false)},
         {kit::Rect(0, 0, 1280, 30)}},
        {"half the output is still a bar (< for <=)", {laptop}, {area("eDP-1", 1280, 720, 360, 0)},
         {kit::Rect(0, 0, 1280, 360)}},
        {"more than half is no bar", {laptop}, {area("eDP-1", 1280, 720, 361, 0)}, {}},
        {"no measurement yet", {laptop}, {OutputArea{}}, {}},
        {"a full-screen window covers the output", {laptop}, {coveredByFullScreen(area("eDP-1", 1280, 720, 30, 0))},
         {}},
        {"full screen on one output leaves the other's bar",
         {laptop, monitor},
         {coveredByFullScreen(area("eDP-1", 1280, 720, 30, 0)), area("DP-1", 1920, 1080, 40, 0)},
         {kit::Rect(1280, 0, 1920, 40)}},
        {"an output Qt does not list", {laptop}, {area("HDMI-A-1", 1280, 720, 30, 0)}, {}},
        {"a bar on each output, the second to the right",
         {laptop, monitor},
         {area("DP-1", 1920, 1080, 40, 0), area("eDP-1", 1280, 720, 30, 0)},
         {kit::Rect(0, 0, 1280, 30), kit::Rect(1280, 0, 1920, 40)}},
        {"the primary screen right of another: points from the primary's corner",
         {monitor, laptop},
         {area("eDP-1", 1280, 720, 30, 0), area("DP-1", 1920, 1080, 40, 0)},
         {kit::Rect(0, 0, 1920, 40), kit::Rect(-1280, 0, 1280, 30)}},
        {"Qt's own scaling halves the bar in points", {halved}, {area("eDP-1", 1280, 720, 60, 0)},
         {kit::Rect(0, 0, 640, 30)}},
        {"a compositor naming no outputs, one output", {laptop}, {area("", 1280, 720, 30, 0)},
         {kit::Rect(0, 0, 1280, 30)}},
        {"a compositor naming no outputs, two: none can be matched",
         {laptop, monitor},
         {area("", 1280, 720, 30, 0)},
         {}},
        {"no screens", {}, {area("eDP-1", 1280, 720, 30, 0)}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(menuBars(translateWaylandWindowList(c.screens, c.areas)), c.bars);
    }
}

// The tint's frame becomes margins from its output's edges and a height, in the compositor's units.
TEST(WaylandWindowListTranslation, AnOverlayIsPlacedOnTheOutputHoldingItsCorner) {
    const std::vector<OutputArea> areas{area("eDP-1", 1280, 720, 30, 0), area("DP-1", 1920, 1080, 40, 0)};
    const struct {
        const char* what;
        PixelRect geometry;
        std::vector<SessionScreen> screens;
        std::optional<LayerPlacement> placement;
    } cases[] = {
        {"across the primary's top", {0, 0, 1280, 30}, {laptop, monitor},
         LayerPlacement{"eDP-1", 0, 0, 0, 30, 1.0}},
        {"on the second output (screen picked by the corner)", {1280, 0, 1920, 40}, {laptop, monitor},
         LayerPlacement{"DP-1", 0, 0, 0, 40, 1.0}},
        {"narrower and lower than the output: margins on three sides", {100, 5, 1000, 30}, {laptop, monitor},
         LayerPlacement{"eDP-1", 5, 100, 180, 30, 1.0}},
        {"a corner on no screen: the primary", {-50, -50, 100, 30}, {laptop, monitor},
         LayerPlacement{"eDP-1", -50, -50, 1230, 30, 1.0}},
        {"Qt's own scaling doubles the units", {0, 0, 640, 15}, {halved}, LayerPlacement{"eDP-1", 0, 0, 0, 30, 2.0}},
        {"no screens", {0, 0, 1280, 30}, {}, std::nullopt},
        {"an empty frame", {0, 0, 1280, 0}, {laptop}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(placeOverlay(c.geometry, c.screens, areas), c.placement);
    }
}

// From the compositor's list of windows: an output is covered by the full-screen window the user works in.
TEST(WaylandWindowListTranslation, AnOutputIsCoveredByTheActivatedFullScreenWindow) {
    const struct {
        const char* what;  // and the fault it catches
        std::vector<ToplevelState> toplevels;
        std::set<std::string> covered;
    } cases[] = {
        {"full screen and activated", {{true, true, {"eDP-1"}}}, {"eDP-1"}},
        {"full screen, left behind (activation ignored)", {{true, false, {"eDP-1"}}}, {}},
        {"activated, not full screen", {{false, true, {"eDP-1"}}}, {}},
        {"on the other output only (the output ignored)",
         {{true, true, {"DP-1"}}, {false, false, {"eDP-1"}}},
         {"DP-1"}},
        {"across two outputs", {{true, true, {"eDP-1", "DP-1"}}}, {"eDP-1", "DP-1"}},
        {"no windows", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(outputsCoveredByFullScreen(c.toplevels), c.covered);
    }
}
