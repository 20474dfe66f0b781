#include <gtest/gtest.h>

#include <optional>

#include "hosts/qt/WindowListEntries.h"
#include "hosts/qt/wayland/WaylandWindowListTranslation.h"

using namespace qthost;

namespace {

const SessionScreen laptop{"eDP-1", {0, 0, 1280, 720}, {0, 0, 1280, 720}, 1.0};
const SessionScreen monitor{"DP-1", {1280, 0, 1920, 1080}, {1280, 0, 1920, 1080}, 1.0};
// Qt scaling its coordinates on top of the compositor's (QT_SCALE_FACTOR=2): half the units, twice the
// pixels.
const SessionScreen halved{"eDP-1", {0, 0, 640, 360}, {0, 0, 1280, 720}, 2.0};

// An output's area as the probes measure it; the outputs are as large as the screens above.
OutputArea area(int reservedTop, int reservedBottom = 0, std::string output = "eDP-1",
                bool edgeKnown = true) {
    OutputArea result;
    result.width = result.usableWidth = output == "DP-1" ? 1920 : 1280;
    result.height = output == "DP-1" ? 1080 : 720;
    result.output = std::move(output);
    result.usableHeight = result.height - reservedTop - reservedBottom;
    if (edgeKnown) {
        result.usableTop = reservedTop;
    }
    return result;
}

OutputArea coveredByFullScreen(OutputArea area) {
    area.fullScreen = true;
    return area;
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
        {"a 30 px top bar", {laptop}, {area(30)}, {kit::Rect(0, 0, 1280, 30)}},
        {"a bottom bar is no menu bar (the edge read wrongly)", {laptop}, {area(0, 30)}, {}},
        {"nothing reserved", {laptop}, {area(0)}, {}},
        {"bars at both edges: the top one alone", {laptop}, {area(26, 40)}, {kit::Rect(0, 0, 1280, 26)}},
        {"an edge not told is the top", {laptop}, {area(30, 0, "eDP-1", false)}, {kit::Rect(0, 0, 1280, 30)}},
        {"half the output is still a bar (< for <=)", {laptop}, {area(360)}, {kit::Rect(0, 0, 1280, 360)}},
        {"more than half is no bar", {laptop}, {area(361)}, {}},
        {"no measurement yet", {laptop}, {OutputArea{}}, {}},
        {"a full-screen window covers the output", {laptop}, {coveredByFullScreen(area(30))}, {}},
        {"full screen on one output leaves the other's bar",
         {laptop, monitor},
         {coveredByFullScreen(area(30)), area(40, 0, "DP-1")},
         {kit::Rect(1280, 0, 1920, 40)}},
        {"an output Qt does not list", {laptop}, {area(30, 0, "HDMI-A-1")}, {}},
        {"a bar on each output, the second to the right",
         {laptop, monitor},
         {area(40, 0, "DP-1"), area(30)},
         {kit::Rect(0, 0, 1280, 30), kit::Rect(1280, 0, 1920, 40)}},
        {"the primary screen right of another: points from the primary's corner",
         {monitor, laptop},
         {area(30), area(40, 0, "DP-1")},
         {kit::Rect(0, 0, 1920, 40), kit::Rect(-1280, 0, 1280, 30)}},
        {"Qt's own scaling halves the bar in points", {halved}, {area(60)}, {kit::Rect(0, 0, 640, 30)}},
        {"a compositor naming no outputs, one output",
         {laptop},
         {area(30, 0, "")},
         {kit::Rect(0, 0, 1280, 30)}},
        {"a compositor naming no outputs, two: none matched", {laptop, monitor}, {area(30, 0, "")}, {}},
        {"no screens", {}, {area(30)}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(menuBars(translateWaylandWindowList(c.screens, c.areas)), c.bars);
    }
}

// The tint's frame becomes margins from its output's edges and a height, in the compositor's units.
TEST(WaylandWindowListTranslation, AnOverlayIsPlacedOnTheOutputHoldingItsCorner) {
    const std::vector<OutputArea> areas{area(30), area(40, 0, "DP-1")};
    const std::vector<SessionScreen> both{laptop, monitor};
    const struct {
        const char* what;
        PixelRect geometry;
        std::vector<SessionScreen> screens;
        std::optional<LayerPlacement> at;
    } cases[] = {
        {"across the primary's top", {0, 0, 1280, 30}, both, LayerPlacement{"eDP-1", 0, 0, 0, 30, 1.0}},
        {"on the output holding the corner",
         {1280, 0, 1920, 40},
         both,
         LayerPlacement{"DP-1", 0, 0, 0, 40, 1.0}},
        {"margins on three sides", {100, 5, 1000, 30}, both, LayerPlacement{"eDP-1", 5, 100, 180, 30, 1.0}},
        {"a corner on no screen: the primary",
         {-50, -50, 100, 30},
         both,
         LayerPlacement{"eDP-1", -50, -50, 1230, 30, 1.0}},
        {"Qt's own scaling doubles the units",
         {0, 0, 640, 15},
         {halved},
         LayerPlacement{"eDP-1", 0, 0, 0, 30, 2.0}},
        {"no screens", {0, 0, 1280, 30}, {}, std::nullopt},
        {"an empty frame", {0, 0, 1280, 0}, {laptop}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(placeOverlay(c.geometry, c.screens, areas), c.at);
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
