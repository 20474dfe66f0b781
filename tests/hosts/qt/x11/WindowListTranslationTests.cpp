#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "hosts/qt/x11/WindowListTranslation.h"
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

constexpr std::uint32_t listOptions =
    kit::WindowListOptionOnScreenOnly | kit::WindowListExcludeDesktopElements;
constexpr std::uint32_t listEverything = 0;
constexpr std::int64_t dockLayer = 20;

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
const PixelRect belowReservedStrip{0, reservedHeight, screenWidth, screenHeight - reservedHeight};
const kit::Rect panelPoints(0, 0, screenWidth, panelHeight);
const kit::Rect stripPoints(0, 0, screenWidth, reservedHeight);

X11WindowRecord window(PixelRect bounds, std::string owner = "Editor", X11WindowId id = candidateId) {
    X11WindowRecord record;
    record.id = id;
    record.name = "Window " + std::to_string(id);
    record.owner = std::move(owner);
    record.viewable = true;
    record.bounds = bounds;
    return record;
}

X11WindowRecord dock(PixelRect bounds, X11WindowId id = panelId) {
    X11WindowRecord record = window(bounds, "Xfce4-panel", id);
    record.dock = true;
    return record;
}

X11WindowRecord unmapped(X11WindowRecord record) {
    record.viewable = false;
    return record;
}

X11WindowRecord fullScreen(X11WindowRecord record) {
    record.fullScreen = true;
    return record;
}

X11WindowRecord desktop(X11WindowRecord record) {
    record.desktop = true;
    return record;
}

X11RootRecord managed(std::vector<X11WindowId> bottomToTop) {
    X11RootRecord root;
    root.root = rootWindow;
    root.supportingWindowManagerCheck = managerCheck;
    root.checkWindowNames = managerCheck;
    root.clientListStacking = std::move(bottomToTop);
    root.screens = {primary, secondary};
    return root;
}

X11RootRecord unmanaged(std::vector<X11WindowId> bottomToTop) {
    X11RootRecord root;
    root.root = rootWindow;
    root.queryTree = std::move(bottomToTop);
    root.screens = {primary, secondary};
    return root;
}

X11RootRecord reserving(PixelRect workArea) {
    X11RootRecord root = managed({candidateId});
    root.workArea = workArea;
    return root;
}

std::string text(const PropertyList& entry, const char* key) {
    const PropertyList* value = entry.find(key);
    return value && value->string() ? *value->string() : "";
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

kit::Rect bounds(const PropertyList& entry) {
    kit::Rect rect;
    EXPECT_TRUE(kit::rectMakeWithDictionaryRepresentation(*entry.find(kit::WindowBounds), rect));
    return rect;
}

bool isMenuBar(const PropertyList& entry) {
    return text(entry, kit::WindowOwnerName) == "Window Server" &&
           text(entry, kit::WindowName) == "Menubar" &&
           entry.find(kit::WindowIsOnscreen)->boolValue() == true;
}

// The bounds of the one menu-bar entry, or nullopt when there is none.
std::optional<kit::Rect> menuBar(const PropertyList::Array& list) {
    std::optional<kit::Rect> found;
    for (const PropertyList& entry : list) {
        if (isMenuBar(entry)) {
            EXPECT_FALSE(found) << "a second menu bar";
            found = bounds(entry);
        }
    }
    return found;
}

}  // namespace

TEST(WindowListTranslation, ATopDockOnThePrimaryScreenIsTheMenuBar) {
    const PixelRect editorBounds{100, 100, 800, 600};
    const auto list =
        translateWindowList(managed({editorId, panelId}),
                            {window(editorBounds, "Editor", editorId), dock(topPanel)}, listOptions);
    ASSERT_EQ(numbers(list), (std::vector<std::int64_t>{panelId, editorId}));
    EXPECT_TRUE(isMenuBar(list[0]));
    EXPECT_EQ(bounds(list[0]), panelPoints);
    EXPECT_EQ(integer(list[0], kit::WindowLayer), menuBarLayer);
    EXPECT_EQ(text(list[1], kit::WindowOwnerName), "Editor");
    EXPECT_EQ(bounds(list[1]),
              kit::Rect(editorBounds.x, editorBounds.y, editorBounds.width, editorBounds.height));
    EXPECT_EQ(list[1].find(kit::WindowOwnerPID), nullptr) << "an unknown process is left out, not 0";
}

// Every condition of a top panel gets a dock that fails it alone, at its boundary where it has one. Every
// window is listed, so an unmapped dock taken for the panel would show.
TEST(WindowListTranslation, EachConditionOfATopPanelRejectsADockAlone) {
    const int halfHeight = screenHeight / 2;
    const struct {
        const char* what;
        X11WindowRecord candidate;
        std::optional<kit::Rect> menuBar;
    } cases[] = {
        {"a dock along the top edge", dock(topPanel), panelPoints},
        {"an ordinary window along the top edge", window(topPanel), std::nullopt},
        {"an unmapped dock", unmapped(dock(topPanel)), std::nullopt},
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
        {"a dock across both screens", dock({0, 0, screenWidth + secondaryWidth, panelHeight}), panelPoints},
        {"a dock whose part on the primary screen is square",
         dock({screenWidth - panelHeight, 0, panelHeight + secondaryWidth, panelHeight}), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto list = translateWindowList(managed({panelId, candidateId}), {c.candidate}, listEverything);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(menuBar(list), c.menuBar);
    }
}

TEST(WindowListTranslation, PixelsBecomePointsFromThePrimaryScreensCorner) {
    const int hiddenRemainder = 8;  // what a panel that hides itself leaves on screen
    const struct {
        const char* what;
        std::vector<PixelRect> screens;  // primary first
        double scale;
        PixelRect panel;
        kit::Rect menuBar;
    } cases[] = {
        {"at one pixel a point", {primary, secondary}, 1.0, topPanel, panelPoints},
        {"at two pixels a point",
         {{0, 0, 2 * screenWidth, 2 * screenHeight}},
         2.0,
         {0, 0, 2 * screenWidth, 2 * panelHeight},
         panelPoints},
        {"a panel slid mostly above the top edge",
         {{0, 0, 2 * screenWidth, 2 * screenHeight}},
         2.0,
         {0, hiddenRemainder - 2 * panelHeight, 2 * screenWidth, 2 * panelHeight},
         kit::Rect(0, 0, screenWidth, hiddenRemainder / 2)},
        {"an unknown scale reads as one", {primary}, 0.0, topPanel, panelPoints},
        {"a primary screen right of the root's origin",
         {{leftWidth, 0, screenWidth, screenHeight}, {0, 0, leftWidth, secondaryHeight}},
         1.0,
         {leftWidth, 0, screenWidth, panelHeight},
         panelPoints},
        {"a primary screen below the root's top",
         {{leftWidth, lowerBy, screenWidth, screenHeight}, {0, 0, leftWidth, lowerBy + screenHeight}},
         1.0,
         {leftWidth, lowerBy, screenWidth, panelHeight},
         panelPoints},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        X11RootRecord root = managed({panelId});
        root.screens = c.screens;
        root.scale = c.scale;
        EXPECT_EQ(menuBar(translateWindowList(root, {dock(c.panel)}, listOptions)), c.menuBar);
    }
}

TEST(WindowListTranslation, ADockElsewhereIsAnOrdinaryWindow) {
    const std::int64_t panelProcess = 4242;
    X11WindowRecord secondaryPanel = dock({screenWidth, 0, secondaryWidth, panelHeight});
    secondaryPanel.processId = panelProcess;
    const auto list = translateWindowList(managed({panelId}), {secondaryPanel}, listOptions);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(text(list[0], kit::WindowOwnerName), "Xfce4-panel");
    EXPECT_EQ(integer(list[0], kit::WindowLayer), dockLayer);
    EXPECT_EQ(integer(list[0], kit::WindowOwnerPID), panelProcess);
    EXPECT_EQ(bounds(list[0]), kit::Rect(screenWidth, 0, secondaryWidth, panelHeight));
}

TEST(WindowListTranslation, WithoutAWindowManagerTheQueryTreeGivesTheOrder) {
    const X11RootRecord root = unmanaged({desktopId, editorId, panelId});
    const std::vector<X11WindowRecord> windows{desktop(window(primary, "Desktop", desktopId)),
                                               unmapped(window(belowReservedStrip, "Editor", editorId)),
                                               dock(topPanel)};

    const auto onScreen = translateWindowList(root, windows, listOptions);
    ASSERT_EQ(numbers(onScreen), (std::vector<std::int64_t>{panelId}));
    EXPECT_TRUE(isMenuBar(onScreen[0]));

    const auto everything = translateWindowList(root, windows, listEverything);
    ASSERT_EQ(numbers(everything), (std::vector<std::int64_t>{panelId, editorId, desktopId}));
    EXPECT_EQ(everything[1].find(kit::WindowIsOnscreen)->boolValue(), false);
}

TEST(WindowListTranslation, AStaleWindowManagerListIsNotTrusted) {
    // The manager exited: its check window is gone, its lists and work area stay on the root.
    X11RootRecord root = reserving(belowReservedStrip);
    root.checkWindowNames.reset();
    root.queryTree = {editorId, candidateId, panelId};
    const std::vector<X11WindowRecord> windows{window(belowReservedStrip, "Editor", editorId),
                                               window(belowReservedStrip), dock(topPanel)};
    EXPECT_FALSE(windowManagerIsLive(root));
    EXPECT_EQ(numbers(translateWindowList(root, windows, listOptions)),
              (std::vector<std::int64_t>{panelId, candidateId, editorId}));
    EXPECT_EQ(menuBar(translateWindowList(root, {windows[0]}, listOptions)), std::nullopt);

    // A check window that names another window is no proof of life either.
    root.checkWindowNames = managerCheck - 1;
    EXPECT_EQ(&stackingOrder(root), &root.queryTree);
}

TEST(WindowListTranslation, AWindowThatVanishedDuringTheScanIsLeftOut) {
    const X11WindowId vanishedId = 11;
    const auto list =
        translateWindowList(managed({editorId, vanishedId, panelId}),
                            {window(belowReservedStrip, "Editor", editorId), dock(topPanel)}, listOptions);
    EXPECT_EQ(numbers(list), (std::vector<std::int64_t>{panelId, editorId}));
    EXPECT_TRUE(isMenuBar(list[0]));
}

// The strip runs across the whole primary screen whatever the work area leaves out at its sides.
TEST(WindowListTranslation, AReservedTopStripStandsInForABarWithoutAWindow) {
    const int halfHeight = screenHeight / 2;
    const int besideDock = screenWidth - sideDockWidth;
    const int belowStrip = screenHeight - reservedHeight;
    const struct {
        const char* what;
        PixelRect workArea;
        std::optional<kit::Rect> menuBar;
    } cases[] = {
        {"a top bar", belowReservedStrip, stripPoints},
        {"a top bar and a dock on the left",
         {sideDockWidth, reservedHeight, besideDock, belowStrip},
         stripPoints},
        {"a top bar and a dock on the right", {0, reservedHeight, besideDock, belowStrip}, stripPoints},
        {"a top bar over both screens",
         {0, reservedHeight, screenWidth + secondaryWidth, secondaryHeight - reservedHeight},
         stripPoints},
        {"a bottom panel only", {0, 0, screenWidth, screenHeight - panelHeight}, std::nullopt},
        {"a dock on the left only", {sideDockWidth, 0, besideDock, screenHeight}, std::nullopt},
        {"a dock on the right only", {0, 0, besideDock, screenHeight}, std::nullopt},
        {"exactly the upper half reserved",
         {0, halfHeight, screenWidth, halfHeight},
         kit::Rect(0, 0, screenWidth, halfHeight)},
        {"one row more than half reserved", {0, halfHeight + 1, screenWidth, halfHeight - 1}, std::nullopt},
        {"a work area beside the primary screen",
         {screenWidth, reservedHeight, secondaryWidth, secondaryHeight - reservedHeight},
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(menuBar(translateWindowList(reserving(c.workArea), {window(c.workArea)}, listOptions)),
                  c.menuBar);
    }

    const auto list = translateWindowList(reserving(belowReservedStrip), {}, listOptions);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(integer(list[0], kit::WindowNumber), static_cast<std::int64_t>(rootWindow));
}

TEST(WindowListTranslation, AReservedStripIsMeasuredFromThePrimaryScreensTop) {
    X11RootRecord root = reserving({0, lowerBy + reservedHeight, leftWidth + screenWidth, screenHeight});
    root.screens = {{leftWidth, lowerBy, screenWidth, screenHeight},
                    {0, 0, leftWidth, lowerBy + screenHeight}};
    EXPECT_EQ(menuBar(translateWindowList(root, {}, listOptions)), stripPoints);
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
        {"an unmapped window as large as the screen", unmapped(window(primary)), true},
        {"the desktop", desktop(window(primary, "Desktop")), true},
        {"a dock as large as the screen", dock(primary, candidateId), true},
        {"a compositor's overlay, which has no class", window(primary, ""), true},
        {"a full-screen window", fullScreen(window(primary)), false},
        {"a full-screen window short of the bottom edge", fullScreen(window(shortOfTheBottom)), false},
        {"a full-screen window on the other screen", fullScreen(window(secondary)), true},
        {"an unmapped full-screen window", unmapped(fullScreen(window(primary))), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto panel =
            translateWindowList(managed({panelId, candidateId}), {dock(topPanel), c.candidate}, listOptions);
        EXPECT_EQ(menuBar(panel), c.barStays ? std::optional(panelPoints) : std::nullopt) << "panel";
        const auto strip = translateWindowList(reserving(belowReservedStrip), {c.candidate}, listOptions);
        EXPECT_EQ(menuBar(strip), c.barStays ? std::optional(stripPoints) : std::nullopt) << "strip";
    }
}

TEST(WindowListTranslation, AWindowBehindThePanelHidesNothing) {
    const auto list =
        translateWindowList(managed({candidateId, panelId}), {dock(topPanel), window(primary)}, listOptions);
    ASSERT_EQ(numbers(list), (std::vector<std::int64_t>{panelId, candidateId}));
    EXPECT_EQ(menuBar(list), panelPoints);
}

TEST(WindowListTranslation, OurOwnWindowsAreNeverListed) {
    const X11WindowId tintId = 51;
    X11WindowRecord tint = dock(topPanel, tintId);
    tint.awning = true;
    X11WindowRecord cover = window(primary, "awning");
    cover.awning = true;
    const auto list = translateWindowList(managed({panelId, candidateId, tintId}),
                                          {dock(topPanel), cover, tint}, listOptions);
    ASSERT_EQ(numbers(list), (std::vector<std::int64_t>{panelId}));
    EXPECT_TRUE(isMenuBar(list[0]));
}

X11WindowRecord reservingTop(X11WindowRecord record, int rows) {
    record.topStrut = rows;
    return record;
}

// A work area is one rectangle for every monitor: it says a top strip is reserved, not on which monitor.
TEST(WindowListTranslation, AReservedStripIsTheMenuBarOnlyWhenNoDockReservesIt) {
    const PixelRect secondaryPanel{screenWidth, 0, secondaryWidth, reservedHeight};
    const struct {
        const char* what;
        std::vector<X11WindowRecord> windows;
        std::optional<kit::Rect> menuBar;
    } cases[] = {
        {"no dock: a bar drawn by the compositor", {}, stripPoints},
        {"a top dock on the other monitor",
         {reservingTop(dock(secondaryPanel), reservedHeight)},
         std::nullopt},
        {"an unmapped dock that reserved the top",
         {unmapped(reservingTop(dock(secondaryPanel), reservedHeight))},
         stripPoints},
        {"a dock on the other monitor reserving nothing", {dock(secondaryPanel)}, stripPoints},
        {"an ordinary window claiming a strut",
         {reservingTop(window(secondaryPanel), reservedHeight)},
         stripPoints},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(menuBar(translateWindowList(reserving(belowReservedStrip), c.windows, listOptions)),
                  c.menuBar);
    }
}

TEST(WindowListTranslation, WithoutACompositingManagerThereIsNoMenuBar) {
    X11RootRecord withPanel = managed({panelId});
    withPanel.compositing = false;
    const auto list = translateWindowList(withPanel, {dock(topPanel)}, listOptions);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(menuBar(list), std::nullopt);
    EXPECT_EQ(integer(list[0], kit::WindowLayer), dockLayer);

    X11RootRecord withStrip = reserving(belowReservedStrip);
    withStrip.compositing = false;
    EXPECT_EQ(menuBar(translateWindowList(withStrip, {}, listOptions)), std::nullopt);
}

// A replacing manager may take the selection without (yet) publishing a check window on the root.
TEST(WindowListTranslation, AManagerHoldingItsSelectionIsTrustedWithoutACheckWindow) {
    X11RootRecord root = reserving(belowReservedStrip);
    root.supportingWindowManagerCheck.reset();
    root.checkWindowNames.reset();
    root.queryTree = {candidateId};
    EXPECT_EQ(menuBar(translateWindowList(root, {}, listOptions)), std::nullopt);
    root.windowManagerSelectionOwned = true;
    EXPECT_TRUE(windowManagerIsLive(root));
    EXPECT_EQ(menuBar(translateWindowList(root, {}, listOptions)), stripPoints);
}

X11WindowRecord unmanagedWindow(PixelRect bounds) {
    X11WindowRecord record = window(bounds, "Polybar");
    record.overrideRedirect = true;
    return record;
}

// Menus, tooltips and notifications bypass the manager too: only a low bar across most of the top edge
// counts.
TEST(WindowListTranslation, AWindowBypassingTheManagerIsAPanelOnlyAlongTheTopEdge) {
    const int threeQuarters = screenWidth * 3 / 4;
    const int eighth = screenHeight / 8;
    const struct {
        const char* what;
        X11WindowRecord candidate;
        std::optional<kit::Rect> menuBar;
    } cases[] = {
        {"a bar across the top edge", unmanagedWindow(topPanel), panelPoints},
        {"three quarters of the width", unmanagedWindow({0, 0, threeQuarters, panelHeight}),
         kit::Rect(0, 0, threeQuarters, panelHeight)},
        {"one pixel narrower", unmanagedWindow({0, 0, threeQuarters - 1, panelHeight}), std::nullopt},
        {"an eighth of the height", unmanagedWindow({0, 0, screenWidth, eighth}),
         kit::Rect(0, 0, screenWidth, eighth)},
        {"a row taller: a menu", unmanagedWindow({0, 0, screenWidth, eighth + 1}), std::nullopt},
        {"one row below the top edge", unmanagedWindow({0, 1, screenWidth, panelHeight}), std::nullopt},
        {"unmapped", unmapped(unmanagedWindow(topPanel)), std::nullopt},
        {"a managed window like it", window(topPanel), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(menuBar(translateWindowList(managed({candidateId}), {c.candidate}, listEverything)),
                  c.menuBar);
    }
    // A bar that just slid in may be a notification: it is a panel once it has stayed.
    X11RootRecord justMapped = managed({candidateId});
    justMapped.recentlyMapped = {candidateId};
    EXPECT_EQ(menuBar(translateWindowList(justMapped, {unmanagedWindow(topPanel)}, listEverything)),
              std::nullopt);
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
