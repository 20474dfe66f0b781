#include <gtest/gtest.h>

#include <optional>

#include "hosts/qt/WindowListEntries.h"
#include "hosts/qt/x11/WindowListTranslation.h"

using kit::PropertyList;
using namespace qthost;

namespace {

constexpr std::uint32_t onScreenOnly =
    kit::WindowListOptionOnScreenOnly | kit::WindowListExcludeDesktopElements;
constexpr std::uint32_t everything = 0;

constexpr X11WindowId rootWindow = 1;
constexpr X11WindowId managerCheck = 99;
constexpr X11WindowId desktopId = 5;
constexpr X11WindowId editorId = 10;
constexpr X11WindowId panelId = 20;
constexpr X11WindowId candidateId = 40;  // the window a case is about, in front of the panel

constexpr int screenWidth = 1920;
constexpr int screenHeight = 1080;
constexpr int secondaryWidth = 1280;
constexpr int secondaryHeight = 1024;
constexpr int panelHeight = 32;     // an Xfce or MATE top panel
constexpr int reservedHeight = 27;  // a top bar drawn by the compositor, reserved in the work area
constexpr int sideDockWidth = 64;
// A primary screen away from the root's origin: right of another screen, perhaps with its top lower.
constexpr int leftWidth = 1280;
constexpr int lowerBy = 120;

const PixelRect primary{0, 0, screenWidth, screenHeight};
const PixelRect secondary{screenWidth, 0, secondaryWidth, secondaryHeight};
const PixelRect topPanel{0, 0, screenWidth, panelHeight};
const PixelRect belowStrip{0, reservedHeight, screenWidth, screenHeight - reservedHeight};
const kit::Rect panelPoints(0, 0, screenWidth, panelHeight);
const kit::Rect stripPoints(0, 0, screenWidth, reservedHeight);

enum Trait : unsigned { Unmapped = 1, FullScreen = 2, Desktop = 4, BypassesManager = 8, ReservesTop = 16 };

X11WindowRecord window(PixelRect bounds, unsigned traits = 0, std::string owner = "Editor",
                       X11WindowId id = candidateId) {
    X11WindowRecord record;
    record.id = id;
    record.owner = std::move(owner);
    record.bounds = bounds;
    record.viewable = !(traits & Unmapped);
    record.fullScreen = traits & FullScreen;
    record.desktop = traits & Desktop;
    record.overrideRedirect = traits & BypassesManager;
    record.topStrut = traits & ReservesTop ? reservedHeight : 0;
    return record;
}

X11WindowRecord dock(PixelRect bounds, unsigned traits = 0, X11WindowId id = panelId) {
    X11WindowRecord record = window(bounds, traits, "Xfce4-panel", id);
    record.dock = true;
    return record;
}

// Every window of the cases stacked, the candidate in front of the panel; a listed id without a record
// vanished.
X11RootRecord managed(std::vector<X11WindowId> bottomToTop = {desktopId, editorId, panelId, candidateId}) {
    X11RootRecord root;
    root.root = rootWindow;
    root.supportingWindowManagerCheck = managerCheck;
    root.checkWindowNames = managerCheck;
    root.clientListStacking = std::move(bottomToTop);
    root.screens = {primary, secondary};
    return root;
}

X11RootRecord reserving(PixelRect workArea) {
    X11RootRecord root = managed();
    root.workArea = workArea;
    return root;
}

X11RootRecord onScreens(std::vector<PixelRect> primaryFirst, double scale = 1.0, PixelRect workArea = {}) {
    X11RootRecord root = managed();
    root.screens = std::move(primaryFirst);
    root.scale = scale;
    if (workArea.height > 0) {
        root.workArea = workArea;
    }
    return root;
}

// A manager that exited: its lists and work area stay on the root, its check window is gone or names another.
X11RootRecord stale(std::optional<X11WindowId> checkWindowNames = std::nullopt) {
    X11RootRecord root = reserving(belowStrip);
    root.checkWindowNames = checkWindowNames;
    root.queryTree = {editorId, candidateId, panelId};
    return root;
}

X11RootRecord withoutCompositing(X11RootRecord root) {
    root.compositing = false;
    return root;
}

std::string text(const PropertyList& entry, const char* key) {
    return *entry.find(key)->string();
}

std::int64_t integer(const PropertyList& entry, const char* key) {
    return *entry.find(key)->integerValue();
}

std::vector<std::int64_t> numbers(const PropertyList::Array& list) {
    std::vector<std::int64_t> result;
    for (const PropertyList& entry : list) {
        result.push_back(integer(entry, kit::WindowNumber));
    }
    return result;
}

// The bounds of the one menu-bar entry, or nullopt when there is none.
std::optional<kit::Rect> menuBar(const PropertyList::Array& list) {
    const std::vector<kit::Rect> bars = menuBars(list);
    EXPECT_LE(bars.size(), 1u) << "a second menu bar";
    return bars.empty() ? std::nullopt : std::optional(bars.front());
}

struct MenuBarRow {
    const char* what;  // and the fault it catches
    X11WindowRecord candidate;
    std::optional<kit::Rect> menuBar;
    X11RootRecord root = managed();
};

void expectMenuBars(const std::vector<MenuBarRow>& rows, std::uint32_t options = onScreenOnly) {
    for (const MenuBarRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(menuBar(translateWindowList(row.root, {row.candidate}, options)), row.menuBar);
    }
}

}  // namespace

TEST(WindowListTranslation, ListsTheWindowsFrontmostFirstInTheKitsKeys) {
    X11WindowRecord secondaryPanel = dock({screenWidth, 0, secondaryWidth, panelHeight}, 0, candidateId);
    secondaryPanel.processId = 4242;
    const auto list = translateWindowList(
        managed({editorId, candidateId, panelId}),
        {window({100, 100, 800, 600}, 0, "Editor", editorId), secondaryPanel, dock(topPanel)}, onScreenOnly);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(menuBar(list), panelPoints);
    EXPECT_EQ(integer(list[0], kit::WindowNumber), panelId);
    EXPECT_EQ(integer(list[0], kit::WindowLayer), menuBarLayer);
    EXPECT_EQ(text(list[1], kit::WindowOwnerName), "Xfce4-panel") << "a dock elsewhere is an ordinary window";
    EXPECT_EQ(integer(list[1], kit::WindowLayer), 20) << "the docks' layer";
    EXPECT_EQ(integer(list[1], kit::WindowOwnerPID), 4242);
    EXPECT_EQ(entryBounds(list[1]), kit::Rect(screenWidth, 0, secondaryWidth, panelHeight));
    EXPECT_EQ(text(list[2], kit::WindowOwnerName), "Editor");
    EXPECT_EQ(entryBounds(list[2]), kit::Rect(100, 100, 800, 600));
    EXPECT_EQ(list[2].find(kit::WindowOwnerPID), nullptr) << "an unknown process is left out, not 0";

    X11RootRecord unmanaged;
    unmanaged.root = rootWindow;
    unmanaged.screens = {primary};
    unmanaged.queryTree = {desktopId, editorId, panelId};
    // Each root lists some of them.
    const std::vector<X11WindowRecord> windows{window(primary, Desktop, "Desktop", desktopId),
                                               window(belowStrip, Unmapped, "Editor", editorId),
                                               window(belowStrip), dock(topPanel)};
    const struct {
        const char* what;  // and the fault it catches
        X11RootRecord root;
        std::vector<std::int64_t> numbers;
        std::uint32_t options = everything;
    } rows[] = {
        {"without a manager the query tree's order, on screen only", unmanaged, {panelId}, onScreenOnly},
        {"an unmapped window listed only when asked for everything",
         unmanaged,
         {panelId, editorId, desktopId}},
        {"a stale manager's order trusted", stale(), {panelId, candidateId, editorId}},
        {"a check window naming another trusted", stale(managerCheck - 1), {panelId, candidateId, editorId}},
        {"a window that vanished during the scan listed",
         managed({editorId, 11, panelId}),
         {panelId, editorId}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(numbers(translateWindowList(row.root, windows, row.options)), row.numbers);
    }
    X11WindowRecord cover = window(primary, 0, "awning");
    cover.awning = true;
    EXPECT_EQ(numbers(translateWindowList(managed(), {dock(topPanel), cover}, onScreenOnly)),
              std::vector<std::int64_t>{panelId})
        << "our own windows are never listed";
    EXPECT_EQ(numbers(translateWindowList(reserving(belowStrip), {}, onScreenOnly)),
              std::vector<std::int64_t>{rootWindow})
        << "a reserved strip without a window is the root's";
}

// Every condition of a top panel gets a dock that fails it alone, at its boundary where it has one. Every
// window is listed, so an unmapped dock taken for the panel would show.
TEST(WindowListTranslation, EachConditionOfATopPanelRejectsADockAlone) {
    const int halfHeight = screenHeight / 2;
    expectMenuBars(
        {
            {"a dock along the top edge", dock(topPanel), panelPoints},
            {"an ordinary window along the top edge", window(topPanel), std::nullopt},
            {"an unmapped dock", dock(topPanel, Unmapped), std::nullopt},
            {"a dock on the other screen", dock({screenWidth, 0, secondaryWidth, panelHeight}), std::nullopt},
            {"a dock its own height below the top edge", dock({0, panelHeight, screenWidth, panelHeight}),
             kit::Rect(0, panelHeight, screenWidth, panelHeight)},
            {"a dock one row more below the top edge", dock({0, panelHeight + 1, screenWidth, panelHeight}),
             std::nullopt},
            {"a dock over the middle half of the top edge",
             dock({screenWidth / 4, 0, screenWidth / 2, panelHeight}),
             kit::Rect(screenWidth / 4, 0, screenWidth / 2, panelHeight)},
            {"a dock over exactly half the screen", dock({0, 0, screenWidth, halfHeight}),
             kit::Rect(0, 0, screenWidth, halfHeight)},
            {"a dock one row taller than half", dock({0, 0, screenWidth, halfHeight + 1}), std::nullopt},
            {"a square dock", dock({0, 0, panelHeight, panelHeight}), std::nullopt},
            {"a dock one pixel wider than tall", dock({0, 0, panelHeight + 1, panelHeight}),
             kit::Rect(0, 0, panelHeight + 1, panelHeight)},
            {"a dock across both screens", dock({0, 0, screenWidth + secondaryWidth, panelHeight}),
             panelPoints},
            {"a dock whose part on the primary screen is square",
             dock({screenWidth - panelHeight, 0, panelHeight + secondaryWidth, panelHeight}), std::nullopt},
            {"no compositing manager, no menu bar", dock(topPanel), std::nullopt,
             withoutCompositing(managed())},
            {"a panel under no live manager", dock(topPanel), panelPoints, stale()},
        },
        everything);
}

TEST(WindowListTranslation, PixelsBecomePointsFromThePrimaryScreensCorner) {
    const PixelRect doubled{0, 0, 2 * screenWidth, 2 * screenHeight};
    const int hiddenRemainder = 8;  // what a panel that hides itself leaves on screen
    const PixelRect rightOfAnother{leftWidth, lowerBy, screenWidth, screenHeight};
    const PixelRect besideIt{0, 0, leftWidth, lowerBy + screenHeight};
    const PixelRect reservedThere{0, lowerBy + reservedHeight, leftWidth + screenWidth, screenHeight};
    expectMenuBars({
        {"at one pixel a point", dock(topPanel), panelPoints, onScreens({primary, secondary})},
        {"at two pixels a point", dock({0, 0, 2 * screenWidth, 2 * panelHeight}), panelPoints,
         onScreens({doubled}, 2.0)},
        {"a panel slid mostly above the top edge",
         dock({0, hiddenRemainder - 2 * panelHeight, 2 * screenWidth, 2 * panelHeight}),
         kit::Rect(0, 0, screenWidth, hiddenRemainder / 2), onScreens({doubled}, 2.0)},
        {"an unknown scale reads as one", dock(topPanel), panelPoints, onScreens({primary}, 0.0)},
        {"a primary screen right of the root's origin", dock({leftWidth, 0, screenWidth, panelHeight}),
         panelPoints,
         onScreens({{leftWidth, 0, screenWidth, screenHeight}, {0, 0, leftWidth, secondaryHeight}})},
        {"a primary screen below the root's top", dock({leftWidth, lowerBy, screenWidth, panelHeight}),
         panelPoints, onScreens({rightOfAnother, besideIt})},
        {"a reserved strip measured from the primary screen's top", window(reservedThere), stripPoints,
         onScreens({rightOfAnother, besideIt}, 1.0, reservedThere)},
    });
}

// The strip runs across the whole primary screen whatever the work area leaves out at its sides; a window
// maximized in the work area leaves it alone.
TEST(WindowListTranslation, AReservedTopStripStandsInForABarWithoutAWindow) {
    const int halfHeight = screenHeight / 2;
    const int besideDock = screenWidth - sideDockWidth;
    const int belowTop = screenHeight - reservedHeight;
    const auto row = [](const char* what, PixelRect workArea, std::optional<kit::Rect> menuBar) {
        return MenuBarRow{what, window(workArea), menuBar, reserving(workArea)};
    };
    const X11RootRecord root = reserving(belowStrip);
    const PixelRect secondaryStrip{screenWidth, 0, secondaryWidth, reservedHeight};
    expectMenuBars({
        row("a top bar", belowStrip, stripPoints),
        row("a top bar and a dock on the left", {sideDockWidth, reservedHeight, besideDock, belowTop},
            stripPoints),
        row("a top bar and a dock on the right", {0, reservedHeight, besideDock, belowTop}, stripPoints),
        row("a top bar over both screens",
            {0, reservedHeight, screenWidth + secondaryWidth, secondaryHeight - reservedHeight}, stripPoints),
        row("a bottom panel only", {0, 0, screenWidth, screenHeight - panelHeight}, std::nullopt),
        row("a dock on the left only", {sideDockWidth, 0, besideDock, screenHeight}, std::nullopt),
        row("a dock on the right only", {0, 0, besideDock, screenHeight}, std::nullopt),
        row("exactly the upper half reserved", {0, halfHeight, screenWidth, halfHeight},
            kit::Rect(0, 0, screenWidth, halfHeight)),
        row("one row more than half reserved", {0, halfHeight + 1, screenWidth, halfHeight - 1},
            std::nullopt),
        row("a work area beside the primary screen",
            {screenWidth, reservedHeight, secondaryWidth, secondaryHeight - reservedHeight}, std::nullopt),
        {"a stale manager's work area", window(belowStrip), std::nullopt, stale()},
        {"no compositing manager", window(belowStrip), std::nullopt, withoutCompositing(root)},
        // A work area is one rectangle for every monitor: it says a strip is reserved, not on which monitor.
        {"a top dock on the other monitor reserves it", dock(secondaryStrip, ReservesTop), std::nullopt,
         root},
        {"an unmapped dock that reserved the top", dock(secondaryStrip, ReservesTop | Unmapped), stripPoints,
         root},
        {"a dock on the other monitor reserving nothing", dock(secondaryStrip), stripPoints, root},
        {"an ordinary window claiming a strut", window(secondaryStrip, ReservesTop), stripPoints, root},
    });
}

// A replacing manager may take the selection without (yet) publishing a check window on the root.
TEST(WindowListTranslation, AManagerHoldingItsSelectionIsTrustedWithoutACheckWindow) {
    X11RootRecord root = reserving(belowStrip);
    root.supportingWindowManagerCheck.reset();
    root.checkWindowNames.reset();
    root.queryTree = {candidateId};
    EXPECT_FALSE(windowManagerIsLive(root));
    EXPECT_EQ(menuBar(translateWindowList(root, {}, onScreenOnly)), std::nullopt);
    root.windowManagerSelectionOwned = true;
    EXPECT_TRUE(windowManagerIsLive(root));
    EXPECT_EQ(menuBar(translateWindowList(root, {}, onScreenOnly)), stripPoints);
}

// Each window stands in front of a top panel, or alone under a reserved strip.
TEST(WindowListTranslation, TheSameWindowsHideAPanelAndAReservedStrip) {
    const PixelRect belowTopBar{0, panelHeight, screenWidth, screenHeight - panelHeight};
    const PixelRect besideLeftDock{sideDockWidth, 0, screenWidth - sideDockWidth, screenHeight};
    const PixelRect overhanging{-sideDockWidth, -sideDockWidth, screenWidth + 2 * sideDockWidth,
                                screenHeight + 2 * sideDockWidth};
    const PixelRect shortOfTheBottom{0, 0, screenWidth, screenHeight - panelHeight};
    const struct {
        const char* what;
        X11WindowRecord candidate;
        bool barStays;
    } cases[] = {
        {"a window as large as the screen", window(primary), false},
        {"a window larger than the screen", window(overhanging), false},
        {"a maximized window below a top bar", window(belowTopBar), true},
        {"a maximized window beside a left dock", window(besideLeftDock), true},
        {"an unmapped window as large as the screen", window(primary, Unmapped), true},
        {"the desktop", window(primary, Desktop, "Desktop"), true},
        {"a dock as large as the screen", dock(primary, 0, candidateId), true},
        {"a compositor's overlay, which has no class", window(primary, 0, ""), true},
        {"a full-screen window", window(primary, FullScreen), false},
        {"a full-screen window short of the bottom edge", window(shortOfTheBottom, FullScreen), false},
        {"a full-screen window on the other screen", window(secondary, FullScreen), true},
        {"an unmapped full-screen window", window(primary, FullScreen | Unmapped), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto panel = translateWindowList(managed(), {dock(topPanel), c.candidate}, onScreenOnly);
        EXPECT_EQ(menuBar(panel), c.barStays ? std::optional(panelPoints) : std::nullopt) << "panel";
        const auto strip = translateWindowList(reserving(belowStrip), {c.candidate}, onScreenOnly);
        EXPECT_EQ(menuBar(strip), c.barStays ? std::optional(stripPoints) : std::nullopt) << "strip";
    }
    const auto behind =
        translateWindowList(managed({candidateId, panelId}), {dock(topPanel), window(primary)}, onScreenOnly);
    EXPECT_EQ(menuBar(behind), panelPoints) << "a window behind the panel hides nothing";
}

// Menus, tooltips and notifications bypass the manager too: only a low bar across most of the top edge
// counts.
TEST(WindowListTranslation, AWindowBypassingTheManagerIsAPanelOnlyAlongTheTopEdge) {
    const int threeQuarters = screenWidth * 3 / 4;
    const int eighth = screenHeight / 8;
    // A bar that just slid in may be a notification: it is a panel once it has stayed.
    X11RootRecord justMapped = managed();
    justMapped.recentlyMapped = {candidateId};
    expectMenuBars(
        {
            {"a bar across the top edge", window(topPanel, BypassesManager), panelPoints},
            {"three quarters of the width", window({0, 0, threeQuarters, panelHeight}, BypassesManager),
             kit::Rect(0, 0, threeQuarters, panelHeight)},
            {"one pixel narrower", window({0, 0, threeQuarters - 1, panelHeight}, BypassesManager),
             std::nullopt},
            {"an eighth of the height", window({0, 0, screenWidth, eighth}, BypassesManager),
             kit::Rect(0, 0, screenWidth, eighth)},
            {"a row taller: a menu", window({0, 0, screenWidth, eighth + 1}, BypassesManager), std::nullopt},
            {"one row below the top edge", window({0, 1, screenWidth, panelHeight}, BypassesManager),
             std::nullopt},
            {"unmapped", window(topPanel, BypassesManager | Unmapped), std::nullopt},
            {"a managed window like it", window(topPanel), std::nullopt},
            {"one that has not stayed yet", window(topPanel, BypassesManager), std::nullopt, justMapped},
        },
        everything);
}

TEST(WindowListTranslation, TheStackingListStandsUnlessItNamesOtherWindows) {
    using List = std::optional<std::vector<X11WindowId>>;
    const List stacking = std::vector<X11WindowId>{panelId, editorId};
    const List mapping = std::vector<X11WindowId>{editorId, panelId};
    const List leftBehind = std::vector<X11WindowId>{desktopId, editorId};
    const struct {
        const char* what;
        List stacking, mapping, managed;
    } cases[] = {
        {"both, the same windows", stacking, mapping, stacking},
        {"a stacking list another manager left behind", leftBehind, mapping, mapping},
        {"no stacking list", std::nullopt, mapping, mapping},
        {"no mapping list", stacking, std::nullopt, stacking},
        {"neither", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(managedWindows(c.stacking, c.mapping), c.managed);
    }
}
