#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "kit/core/Host.h"
#include "kit/foundation/PropertyList.h"

// A timed script of what happens around Awning in a headless run: one step per line,
// "<seconds> <command> <arguments>", '#' to the end of a line is a comment.
struct ScenarioStep {
    enum class Command {
        Screens,
        MenuBar,
        HideMenuBar,
        NoWindowList,
        Pointer,
        Shift,
        Desktop,
        SetDefault,
        RemoveDefault,
        Color,
        Space,
        Activate,
        Reopen,
        Snapshot,
        End
    };
    double time = 0.0;
    Command command = Command::End;
    std::vector<kit::ScreenDescription> screens;  // Screens
    double height = 0.0;                          // MenuBar
    int space = 0;                                // Space
    kit::Point point;                             // Pointer
    bool flag = false;                            // Shift
    std::optional<std::string> text;              // Desktop URL (none: nullopt), default key, snapshot name
    std::string stop;                             // Color: "top", "center" or "bottom"
    std::optional<kit::PropertyList> value;       // SetDefault
    double rgba[4] = {0, 0, 0, 0};                // Color
    int line = 0;
};

class Scenario {
public:
    // Scenarios are written by hand: anything larger is a mistake, not a script.
    static constexpr std::size_t largestFile = 1 << 20;
    // A day of virtual time: a longer run is a mistyped time, and would keep the clock busy for minutes.
    static constexpr double longestRun = 86400;
    // A snapshot is the primary screen's width times the bar's height, each bounded by what X11 addresses;
    // their product is bounded too, so that no snapshot takes more than 64 MiB: a 32767-point-wide bar up to
    // 512 points high, or any real bar.
    static constexpr double largestSnapshot = 1 << 24;
    // The strip a snapshot shows while no check has found a bar.
    static constexpr double defaultBarHeight = 24;

    // The steps of `source`, or nullopt with `error` naming the line and what is wrong with it.
    static std::optional<Scenario> parse(const std::string& source, std::string& error);
    static std::optional<Scenario> load(const std::filesystem::path& path, std::string& error);

    const std::vector<ScenarioStep>& steps() const { return _steps; }
    // When the run stops: the "end" step's time, else one second after the last step.
    double endTime() const;

private:
    std::vector<ScenarioStep> _steps;
};
