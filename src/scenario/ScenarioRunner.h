#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "scenario/Scenario.h"
#include "hosts/headless/HeadlessHost.h"

namespace kit {
class Window;
}
class KRMainController;

// Runs Awning on the headless host through a scenario and writes, as JSON lines, what a user would see
// change: the tint window made, moved, faded, shown, redrawn and closed, and the desktop key.
class ScenarioRunner {
public:
    ScenarioRunner(const Scenario& scenario, std::ostream& trace);

    // Launches Awning and plays every step; false (with a message on standard error) when a step fails.
    bool run();

private:
    void apply(const ScenarioStep& step);
    // Advances the clock to `time` one due call at a time, so each change is stamped when it happened.
    void advanceTo(double time);
    void traceWindowEvent(const headless::WindowEvent& event);
    void traceDesktopKeyIfChanged();
    bool writeSnapshot(const std::string& path);
    int windowNumber(const kit::Window* window);
    KRMainController* controller() const;

    const Scenario& _scenario;
    std::ostream& _trace;
    std::optional<std::string> _tracedDesktopKey;
    std::map<const kit::Window*, int> _windowNumbers;
    int _nextWindowNumber = 1;
    // Last, so that the process it runs ends (and reports its windows released) before the rest goes.
    headless::HeadlessHost _world;
};

// `awning --headless SCENARIO`: returns the process's exit status.
int runHeadlessScenario(const std::string& path);
