#include <gtest/gtest.h>

#include "hosts/qt/WindowListEntries.h"
#include "hosts/qt/gnome/GnomeExtensionStatus.h"
#include "hosts/qt/gnome/GnomeShellState.h"

using namespace qthost;

namespace {

SessionScreen screen(PixelRect geometry) {
    return SessionScreen{"Meta-0", geometry, geometry, 1.0};
}

GnomeShellState bar(PixelRect bounds, bool shows = true, bool pointerOnIt = false) {
    return GnomeShellState{bounds, shows, pointerOnIt, PixelRect{0, 0, 1280, 800}};
}

}  // namespace

TEST(GnomeShellState, TheBarIsTheMenuBarWhileItShows) {
    const PixelRect top{0, 0, 1280, 32};
    const struct {
        const char* fault;
        GnomeShellState state;
        std::vector<SessionScreen> screens;
        std::optional<kit::Rect> menuBar;
    } rows[] = {
        {"the bar is lost", bar(top), {screen({0, 0, 1280, 800})}, kit::Rect(0, 0, 1280, 32)},
        {"a hidden bar (full screen) is tinted", bar(top, false), {screen({0, 0, 1280, 800})}, std::nullopt},
        {"a bar without a size is tinted", bar({0, 0, 0, 32}), {screen({0, 0, 1280, 800})}, std::nullopt},
        {"a bar without a height is tinted", bar({0, 0, 1280, 0}), {screen({0, 0, 1280, 800})}, std::nullopt},
        {"bounds not taken from the first screen's corner",
         bar({1920, 0, 1280, 32}),
         {screen({1920, 0, 1280, 800}), screen({0, 0, 1920, 1080})},
         kit::Rect(0, 0, 1280, 32)},
        {"a bar on a second monitor placed as if on the first",
         bar({1920, 100, 1280, 32}),
         {screen({0, 0, 1920, 1080}), screen({1920, 100, 1280, 800})},
         kit::Rect(1920, 100, 1280, 32)},
        {"no screens at all break the list", bar(top), {}, kit::Rect(0, 0, 1280, 32)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        const kit::PropertyList::Array list = gnomeWindowList(row.state, row.screens);
        EXPECT_EQ(menuBars(list), row.menuBar ? std::vector{*row.menuBar} : std::vector<kit::Rect>{});
        EXPECT_EQ(list.size(), row.menuBar ? 1u : 0u);
    }
}

TEST(GnomeShellState, ThePointerIsOnTheBarOnlyWhenTheShellSaysSo) {
    const PixelRect top{100, 0, 1280, 32};
    const PixelPoint on = gnomePointer(bar(top, true, true));
    EXPECT_TRUE(on.x >= top.x && on.x < top.x + top.width && on.y >= top.y && on.y < top.y + top.height);
    const PixelPoint off = gnomePointer(bar(top, true, false));
    EXPECT_TRUE(off.x < -100000 && off.y < -100000) << "off the bar must be off every screen";
}

TEST(GnomeExtensionStatus, EachStateSaysWhatToRun) {
    const struct {
        std::optional<GnomeExtensionInfo> info;
        const char* says;
    } rows[] = {
        {std::nullopt, "cannot reach GNOME Shell"},
        {GnomeExtensionInfo{false, 0, ""}, "log out and back in, then run: gnome-extensions enable awning@"},
        {GnomeExtensionInfo{true, 2, ""}, "not enabled: run gnome-extensions enable awning@larkspur.example"},
        {GnomeExtensionInfo{true, 6, ""}, "not enabled: run gnome-extensions enable"},
        {GnomeExtensionInfo{true, 3, "SyntaxError: x"}, "failed to start (SyntaxError: x)"},
        {GnomeExtensionInfo{true, 4, ""}, "does not declare this version of GNOME Shell"},
        {GnomeExtensionInfo{true, 1, ""}, "enabled but does not answer"},
    };
    for (const auto& row : rows) {
        const std::string line = gnomeExtensionInstruction(row.info);
        EXPECT_NE(line.find(row.says), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << "one line: " << line;
    }
}
