#include "scenario/ScenarioRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/KRMainController.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/Screen.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Bitmap.h"
#include "kit/quartz/LayerRenderer.h"
#include "kit/quartz/WindowList.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintWindow.h"

namespace {

using Command = ScenarioStep::Command;
using Kind = headless::WindowEvent::Kind;

constexpr kit::Bitmap::RGBA8 plainBarColor{236, 236, 236, 255};

// Clock readings such as 10.200000000000001 are traced to the millisecond, as a reader thinks of them.
double milliseconds(double value) {
    return std::round(value * 1000.0) / 1000.0;
}

QJsonArray jsonRect(const kit::Rect& rect) {
    return {milliseconds(rect.minX()), milliseconds(rect.minY()), milliseconds(rect.width()),
            milliseconds(rect.height())};
}

kit::PropertyList menuBarEntry(double height) {
    const auto& screens = kit::host().screens();
    const double width = screens.empty() ? 0.0 : screens.front().frame.width();
    return kit::PropertyList::Dictionary{
        {kit::WindowOwnerName, "Window Server"},
        {kit::WindowName, "Menubar"},
        {kit::WindowIsOnscreen, true},
        {kit::WindowBounds, kit::dictionaryRepresentation(kit::Rect(0, 0, width, height))}};
}

}  // namespace

ScenarioRunner::ScenarioRunner(const Scenario& scenario, std::ostream& trace,
                               std::filesystem::path outputDirectory)
    : _scenario(scenario), _trace(trace), _outputDirectory(std::move(outputDirectory)) {
    _world.setWindowList(kit::PropertyList::Array{});
    _world.setWindowEventObserver([this](const headless::WindowEvent& event) { traceWindowEvent(event); });
}

KRMainController* ScenarioRunner::controller() const {
    return dynamic_cast<KRMainController*>(kit::Application::shared().delegate());
}

bool ScenarioRunner::run() {
    // What is scripted at time 0 is the world Awning starts in.
    std::size_t next = 0;
    const auto& steps = _scenario.steps();
    for (; next < steps.size() && steps[next].time == 0.0 && steps[next].command != Command::Snapshot;
         ++next) {
        apply(steps[next]);
    }
    traceEvent("launch");
    char name[] = "awning";
    char* argv[] = {name, nullptr};
    kit::applicationMain(1, argv);
    traceDesktopKeyIfChanged();

    for (; next < steps.size(); ++next) {
        advanceTo(steps[next].time);
        if (steps[next].command == Command::End) {
            break;
        }
        if (steps[next].command == Command::Snapshot) {
            if (!writeSnapshot(*steps[next].text)) {
                return false;
            }
            continue;
        }
        apply(steps[next]);
        traceDesktopKeyIfChanged();
    }
    advanceTo(_scenario.endTime());
    traceEvent("end");
    _trace.flush();
    return true;
}

void ScenarioRunner::advanceTo(double time) {
    for (std::optional<double> due = kit::RunLoop::main().nextDueTime(); due && *due <= time;
         due = kit::RunLoop::main().nextDueTime()) {
        _world.advanceTo(*due);
        traceDesktopKeyIfChanged();
    }
    _world.advanceTo(time);
}

void ScenarioRunner::apply(const ScenarioStep& step) {
    kit::Object sender;
    switch (step.command) {
        case Command::Screens:
            _world.setScreens(step.screens);
            if (_menuBarHeight) {
                // The window server's menu bar spans the primary screen, whatever its size.
                _world.setWindowList(kit::PropertyList::Array{menuBarEntry(*_menuBarHeight)});
            }
            if (controller()) {
                kit::Application::shared().screenParametersDidChange();
            }
            break;
        case Command::MenuBar:
            _world.setWindowList(kit::PropertyList::Array{menuBarEntry(step.height)});
            _menuBarHeight = step.height;
            break;
        case Command::HideMenuBar:
            _world.setWindowList(kit::PropertyList::Array{});
            _menuBarHeight.reset();
            break;
        case Command::NoWindowList:
            _world.setWindowList(std::nullopt);
            _menuBarHeight.reset();
            break;
        case Command::Pointer:
            _world.setMouseLocation(step.point);
            break;
        case Command::Shift:
            _world.setModifierFlags(step.flag ? kit::EventModifierFlagShift : 0);
            break;
        case Command::Desktop:
            _world.setDesktopImageURL(0, step.text);
            break;
        case Command::SetDefault:
            kit::UserDefaults::standard().setObject(*step.value, *step.text);
            break;
        case Command::RemoveDefault:
            kit::UserDefaults::standard().removeObject(*step.text);
            break;
        case Command::Color: {
            const kit::Color color = kit::Color::sRGB(step.rgba[0], step.rgba[1], step.rgba[2], step.rgba[3]);
            if (step.stop == "top") {
                KRTintWindow::setTopColor(color);
            } else if (step.stop == "center") {
                KRTintWindow::setCenterColor(color);
            } else {
                KRTintWindow::setBottomColor(color);
            }
            if (controller() && controller()->tintWindow()) {
                controller()->tintWindow()->contentView()->setNeedsDisplay(true);
            }
            break;
        }
        case Command::Space:
            _world.setActiveSpace(step.space);
            kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification,
                                                            &sender);
            break;
        case Command::Activate:
            kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceDidActivateApplicationNotification,
                                                            &sender);
            break;
        case Command::Reopen:
            traceEvent("reopen");
            kit::Application::shared().reopen();
            break;
        case Command::Snapshot:
        case Command::End:
            break;
    }
}

int ScenarioRunner::windowNumber(const kit::Window* window) {
    auto [it, inserted] = _windowNumbers.try_emplace(window, _nextWindowNumber);
    if (inserted) {
        ++_nextWindowNumber;
    }
    return it->second;
}

void ScenarioRunner::traceLine(QJsonObject line) {
    _trace << QJsonDocument(line).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

void ScenarioRunner::traceEvent(const char* event) {
    traceLine({{"t", milliseconds(_world.now())}, {"event", event}});
}

void ScenarioRunner::traceWindowEvent(const headless::WindowEvent& event) {
    if (event.kind == Kind::Created) {
        _windowNumbers.erase(event.window);  // an address may be reused by a later window
    }
    QJsonObject line{{"t", milliseconds(event.time)}, {"window", windowNumber(event.window)}};
    const kit::Window& window = *event.window;
    const auto placement = [&](const char* name) {
        line["event"] = name;
        line["frame"] = jsonRect(window.frame());
        line["level"] = window.level();
        line["alpha"] = milliseconds(window.alphaValue());
    };
    switch (event.kind) {
        case Kind::Created:
            placement("created");
            break;
        case Kind::FrameChanged:
            line["event"] = "moved";
            line["frame"] = jsonRect(window.frame());
            break;
        case Kind::LevelChanged:
            line["event"] = "level";
            line["level"] = window.level();
            break;
        case Kind::AlphaChanged:
            line["event"] = event.fadeDuration > 0 ? "faded" : "opacity";
            line["alpha"] = milliseconds(window.alphaValue());
            line["duration"] = milliseconds(event.fadeDuration);
            break;
        case Kind::OrderedFront:
            placement("shown");
            break;
        case Kind::BecameKey:
            line["event"] = "key";
            break;
        case Kind::Closed:
            line["event"] = "closed";
            break;
        case Kind::Redrawn:
            line["event"] = "redrawn";
            break;
        case Kind::Destroyed:
            line["event"] = "released";
            _windowNumbers.erase(event.window);
            break;
    }
    traceLine(line);
}

void ScenarioRunner::traceDesktopKeyIfChanged() {
    const std::optional<std::string>& key = currentDesktopKey();
    if (key && key != _tracedDesktopKey) {
        _tracedDesktopKey = key;
        traceLine({{"t", milliseconds(_world.now())},
                   {"event", "desktop-key"},
                   {"key", QString::fromStdString(*key)}});
    }
}

// The menu-bar strip of the primary screen: the tint at its current opacity over a plain light bar.
bool ScenarioRunner::writeSnapshot(const std::string& name) {
    const std::filesystem::path path = _outputDirectory / name;
    traceLine(
        {{"t", milliseconds(_world.now())}, {"event", "snapshot"}, {"file", QString::fromStdString(name)}});
    const std::optional<kit::Screen> primary = kit::Screen::primary();
    if (!primary || !barStrip(primary->frame()).writePNG(path)) {
        _error = "cannot write snapshot " + path.string();
        return false;
    }
    return true;
}

kit::Bitmap ScenarioRunner::barStrip(const kit::Rect& primaryFrame) const {
    KRMainController* main = controller();
    const double barHeight =
        main && main->menuBarHeight() > 0 ? main->menuBarHeight() : Scenario::defaultBarHeight;
    // A bar taller than the screen is cut at the screen's edge, as the display would cut it.
    kit::Bitmap strip(static_cast<int>(primaryFrame.width()),
                      static_cast<int>(std::min(barHeight, primaryFrame.height())));
    strip.fill(plainBarColor);
    if (main && main->tintWindow() && main->tintWindow()->isVisible()) {
        const kit::Window& window = *main->tintWindow();
        strip.drawBitmap(kit::LayerRenderer::render(*window.contentView()->layer()), 0,
                         static_cast<int>(primaryFrame.maxY() - window.frame().maxY()), window.alphaValue());
    }
    return strip;
}
