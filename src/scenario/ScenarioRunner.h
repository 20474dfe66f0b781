#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "hosts/headless/HeadlessHost.h"
#include "kit/graphics/Bitmap.h"
#include "scenario/Scenario.h"

class QJsonObject;
namespace kit {
class Window;
}
class KRMainController;

// Runs Awning on the headless host through a scenario and writes, as JSON lines, what a user would see
// change: the tint window made, moved, faded, shown, redrawn and closed, and the desktop key.
class ScenarioRunner {
public:
    // Snapshots are written into `outputDirectory`, under the names the scenario gives them.
    ScenarioRunner(const Scenario& scenario, std::ostream& trace, std::filesystem::path outputDirectory);

    // Launches Awning and plays every step; false, with error() saying why, when a step fails.
    bool run();
    const std::string& error() const { return _error; }

private:
    void apply(const ScenarioStep& step);
    // Advances the clock to `time` one due call at a time, so each change is stamped when it happened.
    void advanceTo(double time);
    void traceLine(QJsonObject line);
    void traceEvent(const char* event);
    void traceWindowEvent(const headless::WindowEvent& event);
    void traceDesktopKeyIfChanged();
    bool writeSnapshot(const std::string& name);
    kit::Bitmap barStrip(const kit::Rect& primaryFrame) const;
    int windowNumber(const kit::Window* window);
    KRMainController* controller() const;

    const Scenario& _scenario;
    std::ostream& _trace;
    std::filesystem::path _outputDirectory;
    std::string _error;
    std::optional<std::string> _tracedDesktopKey;
    std::map<const kit::Window*, int> _windowNumbers;
    int _nextWindowNumber = 1;
    std::optional<double> _menuBarHeight;  // of the menu bar the window list shows, if any
    // Last, so that the process it runs ends (and reports its windows released) before the rest goes.
    headless::HeadlessHost _world;
};
