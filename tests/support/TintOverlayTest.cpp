#include "support/TintOverlayTest.h"

#include <algorithm>
#include <limits>

#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "support/WindowListEntries.h"

const kit::Selector TintOverlayTest::checkSelector = kit::sel("updateMenuBarVisibilityAndColorsKey:");
const kit::Selector TintOverlayTest::layoutSelector = kit::sel("positionTintWindow:");

std::size_t countEvents(const headless::HeadlessHost& world, headless::WindowEvent::Kind kind) {
    const auto& events = world.windowEvents();
    return static_cast<std::size_t>(
        std::count_if(events.begin(), events.end(), [kind](const auto& event) { return event.kind == kind; }));
}

TintOverlayTest::TintOverlayTest() : _controller(std::make_unique<KRMainController>()) {
    world().setWindowList(kit::PropertyList::Array{});
}

TintOverlayTest::~TintOverlayTest() {
    _controller.reset();
}

void TintOverlayTest::launch(bool returningUser) {
    if (returningUser) {
        kit::UserDefaults::standard().setBool(true, "Shown Settings");
    }
    _controller->applicationDidFinishLaunching(nullptr);
}

void TintOverlayTest::showMenuBar(double height) {
    world().setWindowList(kit::PropertyList::Array{
        applicationWindowEntry("Finder", kit::Rect(100, 100, 600, 400)), menuBarEntry(height)});
}

void TintOverlayTest::hideMenuBar() {
    world().setWindowList(
        kit::PropertyList::Array{applicationWindowEntry("Finder", kit::Rect(100, 100, 600, 400))});
}

void TintOverlayTest::postSpaceChange() {
    kit::Object sender;
    kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification, &sender);
}

std::size_t TintOverlayTest::pendingChecks() const {
    return kit::RunLoop::main().pendingCount(*_controller, checkSelector);
}

std::size_t TintOverlayTest::pendingLayoutPasses() const {
    return kit::RunLoop::main().pendingCount(*_controller, layoutSelector);
}

double TintOverlayTest::nextCheckTime() const {
    for (const auto& call : kit::RunLoop::main().pendingCalls()) {
        if (call.target == _controller.get() && call.selector == checkSelector) {
            return call.dueTime;
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}
