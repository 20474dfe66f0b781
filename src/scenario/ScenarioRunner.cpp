#include "scenario/ScenarioRunner.h"

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "app/KRMainController.h"
#include "kit/appkit/Application.h"
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

std::string jsonString(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<int>(c) << std::dec;
        } else {
            out << c;
        }
    }
    out << '"';
    return out.str();
}

std::string jsonRect(const kit::Rect& rect) {
    std::ostringstream out;
    out << '[' << rect.minX() << ',' << rect.minY() << ',' << rect.width() << ',' << rect.height() << ']';
    return out.str();
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

ScenarioRunner::ScenarioRunner(const Scenario& scenario, std::ostream& trace)
    : _scenario(scenario), _trace(trace) {
    _trace << std::fixed << std::setprecision(3);
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
    _trace << "{\"t\":" << _world.now() << ",\"event\":\"launch\"}\n";
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
                std::cerr << "awning: cannot write snapshot " << *steps[next].text << "\n";
                return false;
            }
            continue;
        }
        apply(steps[next]);
        traceDesktopKeyIfChanged();
    }
    advanceTo(_scenario.endTime());
    _trace << "{\"t\":" << _world.now() << ",\"event\":\"end\"}\n";
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
            if (controller()) {
                kit::Application::shared().screenParametersDidChange();
            }
            break;
        case Command::MenuBar:
            _world.setWindowList(kit::PropertyList::Array{menuBarEntry(step.number)});
            break;
        case Command::HideMenuBar:
            _world.setWindowList(kit::PropertyList::Array{});
            break;
        case Command::NoWindowList:
            _world.setWindowList(std::nullopt);
            break;
        case Command::Pointer:
            _world.setMouseLocation(step.point);
            break;
        case Command::Shift:
            _world.setModifierFlags(step.flag ? 0x20000 : 0);
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
            _world.setActiveSpace(static_cast<int>(step.number));
            kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification,
                                                            &sender);
            break;
        case Command::Activate:
            kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceDidActivateApplicationNotification,
                                                            &sender);
            break;
        case Command::Reopen:
            _trace << "{\"t\":" << _world.now() << ",\"event\":\"reopen\"}\n";
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

void ScenarioRunner::traceWindowEvent(const headless::WindowEvent& event) {
    if (event.kind == Kind::Created) {
        _windowNumbers.erase(event.window);  // an address may be reused by a later window
    }
    const int number = windowNumber(event.window);
    _trace << "{\"t\":" << event.time << ",\"window\":" << number << ",\"event\":";
    const kit::Window& window = *event.window;
    switch (event.kind) {
        case Kind::Created:
            _trace << "\"created\",\"frame\":" << jsonRect(window.frame()) << ",\"level\":" << window.level()
                   << ",\"alpha\":" << window.alphaValue();
            break;
        case Kind::FrameChanged:
            _trace << "\"moved\",\"frame\":" << jsonRect(window.frame());
            break;
        case Kind::LevelChanged:
            _trace << "\"level\",\"level\":" << window.level();
            break;
        case Kind::AlphaChanged:
            _trace << (event.fadeDuration > 0 ? "\"faded\"" : "\"opacity\"")
                   << ",\"alpha\":" << window.alphaValue() << ",\"duration\":" << event.fadeDuration;
            break;
        case Kind::OrderedFront:
            _trace << "\"shown\",\"frame\":" << jsonRect(window.frame()) << ",\"level\":" << window.level()
                   << ",\"alpha\":" << window.alphaValue();
            break;
        case Kind::Closed:
            _trace << "\"closed\"";
            break;
        case Kind::Redrawn:
            _trace << "\"redrawn\"";
            break;
        case Kind::Destroyed:
            _trace << "\"released\"";
            _windowNumbers.erase(event.window);
            break;
    }
    _trace << "}\n";
}

void ScenarioRunner::traceDesktopKeyIfChanged() {
    const std::optional<std::string>& key = currentDesktopKey();
    if (key && key != _tracedDesktopKey) {
        _tracedDesktopKey = key;
        _trace << "{\"t\":" << _world.now() << ",\"event\":\"desktop-key\",\"key\":" << jsonString(*key)
               << "}\n";
    }
}

bool ScenarioRunner::writeSnapshot(const std::string& path) {
    const std::optional<kit::Screen> primary = kit::Screen::primary();
    KRMainController* main = controller();
    const double height = main && main->menuBarHeight() > 0 ? main->menuBarHeight() : 24.0;
    const int width = primary ? static_cast<int>(primary->frame().width()) : 0;
    kit::Bitmap strip(width, static_cast<int>(height));
    strip.fill(plainBarColor);
    if (main && main->tintWindow() && main->tintWindow()->isVisible()) {
        const kit::Window& window = *main->tintWindow();
        strip.drawBitmap(kit::LayerRenderer::render(*window.contentView()->layer()), 0,
                         static_cast<int>(primary->frame().maxY() - window.frame().maxY()),
                         window.alphaValue());
    }
    _trace << "{\"t\":" << _world.now() << ",\"event\":\"snapshot\",\"file\":" << jsonString(path) << "}\n";
    return strip.writePNG(path);
}

int runHeadlessScenario(const std::string& path) {
    std::string error;
    const std::optional<Scenario> scenario = Scenario::load(path, error);
    if (!scenario) {
        std::cerr << "awning: " << error << "\n";
        return 2;
    }
    ScenarioRunner runner(*scenario, std::cout);
    return runner.run() ? 0 : 1;
}
