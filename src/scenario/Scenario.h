#pragma once

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
    double number = 0.0;                          // MenuBar height; Space number
    kit::Point point;                             // Pointer
    bool flag = false;                            // Shift
    std::optional<std::string> text;              // Desktop URL (none: nullopt), default key, snapshot path
    std::string stop;                             // Color: "top", "center" or "bottom"
    std::optional<kit::PropertyList> value;       // SetDefault
    double rgba[4] = {0, 0, 0, 0};                // Color
    int line = 0;
};

class Scenario {
public:
    // The steps of `source`, or nullopt with `error` naming the line and what is wrong with it.
    static std::optional<Scenario> parse(const std::string& source, std::string& error);
    static std::optional<Scenario> load(const std::string& path, std::string& error);

    const std::vector<ScenarioStep>& steps() const { return _steps; }
    // When the run stops: the "end" step's time, else one second after the last step.
    double endTime() const;

private:
    std::vector<ScenarioStep> _steps;
};
