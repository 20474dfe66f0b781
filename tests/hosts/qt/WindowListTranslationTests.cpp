#include <gtest/gtest.h>

#include "hosts/qt/WindowListTranslation.h"
#include "kit/quartz/WindowList.h"

using kit::PropertyList;
using namespace qthost;

namespace {

constexpr std::uint32_t listOptions =
    kit::WindowListOptionOnScreenOnly | kit::WindowListExcludeDesktopElements;
constexpr X11WindowId rootWindow = 1;
constexpr X11WindowId managerCheck = 99;
const PixelRect primary{0, 0, 1920, 1080};
const PixelRect secondary{1920, 0, 1280, 1024};

X11WindowRecord window(X11WindowId id, PixelRect bounds, std::string owner = "Editor") {
    X11WindowRecord record;
    record.id = id;
    record.name = "Window " + std::to_string(id);
    record.owner = std::move(owner);
    record.viewable = true;
    record.bounds = bounds;
    return record;
}

X11WindowRecord dock(X11WindowId id, PixelRect bounds) {
    X11WindowRecord record = window(id, bounds, "Xfce4-panel");
    record.dock = true;
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

std::string text(const PropertyList& entry, const char* key) {
    const PropertyList* value = entry.find(key);
    return value && value->string() ? *value->string() : "";
}

std::vector<std::int64_t> numbers(const PropertyList::Array& list) {
    std::vector<std::int64_t> result;
    for (const PropertyList& entry : list) {
        result.push_back(*entry.find(kit::WindowNumber)->integerValue());
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

std::size_t menuBarCount(const PropertyList::Array& list) {
    return std::count_if(list.begin(), list.end(), isMenuBar);
}

}  // namespace

TEST(WindowListTranslation, ATopDockOnThePrimaryScreenIsTheMenuBar) {
    X11RootRecord root = managed({10, 20});
    const auto list = translateWindowList(
        root, {window(10, {100, 100, 800, 600}), dock(20, {0, 0, 1920, 32})}, listOptions);
    ASSERT_EQ(numbers(list), (std::vector<std::int64_t>{20, 10}));
    EXPECT_TRUE(isMenuBar(list[0]));
    EXPECT_EQ(bounds(list[0]), kit::Rect(0, 0, 1920, 32));
    EXPECT_EQ(*list[0].find(kit::WindowLayer)->integerValue(), 24);
    EXPECT_EQ(text(list[1], kit::WindowOwnerName), "Editor");
    EXPECT_EQ(bounds(list[1]), kit::Rect(100, 100, 800, 600));

    // Pixels become points; a panel slid mostly off the top (hidden automatically) shows only what remains.
    root.screens = {{0, 0, 3840, 2160}};
    root.scale = 2.0;
    const auto hidden = translateWindowList(root, {dock(20, {0, -56, 3840, 64})}, listOptions);
    ASSERT_EQ(menuBarCount(hidden), 1u);
    EXPECT_EQ(bounds(hidden[0]), kit::Rect(0, 0, 1920, 4));
}

TEST(WindowListTranslation, DocksElsewhereAreOrdinaryWindows) {
    const X11RootRecord root = managed({30, 31, 32});
    const auto list = translateWindowList(
        root, {dock(30, {0, 1048, 1920, 32}), dock(31, {1920, 0, 1280, 30}), dock(32, {0, 0, 48, 1080})},
        listOptions);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(menuBarCount(list), 0u);
    EXPECT_EQ(text(list[1], kit::WindowOwnerName), "Xfce4-panel");
    EXPECT_EQ(*list[1].find(kit::WindowLayer)->integerValue(), 20);
    EXPECT_EQ(bounds(list[1]), kit::Rect(1920, 0, 1280, 30));
}

TEST(WindowListTranslation, WithoutAWindowManagerTheQueryTreeGivesTheOrder) {
    X11RootRecord root = unmanaged({5, 6, 7});
    X11WindowRecord hidden = window(6, {0, 0, 300, 300});
    hidden.viewable = false;
    X11WindowRecord desktop = window(5, primary, "Desktop");
    desktop.desktop = true;
    const std::vector<X11WindowRecord> windows{desktop, hidden, dock(7, {0, 0, 1920, 28})};

    const auto onScreen = translateWindowList(root, windows, listOptions);
    ASSERT_EQ(numbers(onScreen), (std::vector<std::int64_t>{7}));
    EXPECT_TRUE(isMenuBar(onScreen[0]));

    const auto everything = translateWindowList(root, windows, 0);
    ASSERT_EQ(numbers(everything), (std::vector<std::int64_t>{7, 6, 5}));
    EXPECT_EQ(everything[1].find(kit::WindowIsOnscreen)->boolValue(), false);
}

TEST(WindowListTranslation, AStaleWindowManagerListIsNotTrusted) {
    // The manager exited: its check window is gone, its lists and work area stay on the root.
    X11RootRecord root = managed({10});
    root.checkWindowNames.reset();
    root.workArea = PixelRect{0, 27, 1920, 1053};
    root.queryTree = {10, 11, 12};
    const std::vector<X11WindowRecord> windows{window(10, {0, 0, 50, 50}), window(11, {0, 0, 60, 60}),
                                               dock(12, {0, 0, 1920, 30})};
    EXPECT_FALSE(windowManagerIsLive(root));
    EXPECT_EQ(numbers(translateWindowList(root, windows, listOptions)),
              (std::vector<std::int64_t>{12, 11, 10}));
    EXPECT_EQ(menuBarCount(translateWindowList(root, {window(10, {0, 0, 50, 50})}, listOptions)), 0u);

    // A check window that names another window is no proof of life either.
    root.checkWindowNames = 98;
    EXPECT_EQ(&stackingOrder(root), &root.queryTree);
}

TEST(WindowListTranslation, AWindowThatVanishedDuringTheScanIsLeftOut) {
    const X11RootRecord root = managed({10, 11, 12});
    const auto list =
        translateWindowList(root, {window(10, {0, 40, 50, 50}), dock(12, {0, 0, 1920, 32})}, listOptions);
    EXPECT_EQ(numbers(list), (std::vector<std::int64_t>{12, 10}));
    EXPECT_TRUE(isMenuBar(list[0]));
}

TEST(WindowListTranslation, AReservedTopStripStandsInForABarWithoutAWindow) {
    X11RootRecord root = managed({10});
    root.workArea = PixelRect{0, 27, 1920, 1053};
    auto list = translateWindowList(root, {window(10, {0, 27, 1920, 1053})}, listOptions);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(isMenuBar(list[0]));
    EXPECT_EQ(bounds(list[0]), kit::Rect(0, 0, 1920, 27));
    EXPECT_EQ(*list[0].find(kit::WindowNumber)->integerValue(), static_cast<std::int64_t>(rootWindow));

    root.workArea = PixelRect{0, 0, 1920, 1040};  // only a bottom panel reserved
    EXPECT_EQ(menuBarCount(translateWindowList(root, {}, listOptions)), 0u);
}

TEST(WindowListTranslation, AFullScreenWindowInFrontHidesTheMenuBar) {
    X11RootRecord root = managed({20, 40});
    const auto covered =
        translateWindowList(root, {dock(20, {0, 0, 1920, 32}), window(40, primary)}, listOptions);
    ASSERT_EQ(numbers(covered), (std::vector<std::int64_t>{40, 20}));
    EXPECT_EQ(menuBarCount(covered), 0u);
    EXPECT_EQ(text(covered[1], kit::WindowOwnerName), "Xfce4-panel");

    X11WindowRecord fullScreen = window(40, {0, 0, 1920, 1000});
    fullScreen.fullScreen = true;
    EXPECT_EQ(menuBarCount(translateWindowList(root, {dock(20, {0, 0, 1920, 32}), fullScreen}, listOptions)),
              0u);

    // Behind the panel, on the other screen, or a compositor's classless overlay: the menu bar stays.
    EXPECT_EQ(menuBarCount(translateWindowList(
                  managed({40, 20}), {dock(20, {0, 0, 1920, 32}), window(40, primary)}, listOptions)),
              1u);
    EXPECT_EQ(menuBarCount(translateWindowList(root, {dock(20, {0, 0, 1920, 32}), window(40, secondary)},
                                               listOptions)),
              1u);
    EXPECT_EQ(menuBarCount(translateWindowList(root, {dock(20, {0, 0, 1920, 32}), window(40, primary, "")},
                                               listOptions)),
              1u);

    root.workArea = PixelRect{0, 27, 1920, 1053};
    EXPECT_EQ(menuBarCount(translateWindowList(root, {window(40, primary)}, listOptions)), 0u);
}

TEST(WindowListTranslation, OurOwnWindowsAreNeverListed) {
    const X11RootRecord root = managed({20, 50, 51});
    X11WindowRecord tint = dock(51, {0, 0, 1920, 32});
    tint.awning = true;
    X11WindowRecord cover = window(50, primary, "awning");
    cover.awning = true;
    const auto list = translateWindowList(root, {dock(20, {0, 0, 1920, 32}), cover, tint}, listOptions);
    ASSERT_EQ(numbers(list), (std::vector<std::int64_t>{20}));
    EXPECT_TRUE(isMenuBar(list[0]));
}
