#include <benchmark/benchmark.h>

#include "app/KRMainController.h"
#include "hosts/headless/HeadlessHost.h"
#include "kit/foundation/UserDefaults.h"
#include "support/WindowListEntries.h"

namespace {

// A visible bar under a resting pointer: every pass finds nothing to change.
void idleLayoutPass(benchmark::State& state) {
    headless::HeadlessHost world;
    kit::UserDefaults::standard().setBool(true, "Shown Settings");
    world.setWindowList(kit::PropertyList::Array{menuBarEntry(24)});
    world.setMouseLocation({700, 300});
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    world.advance(1.0);
    for (auto _ : state) {
        controller.positionTintWindow(&controller);
    }
}
BENCHMARK(idleLayoutPass);

// A check that walks 199 ordinary windows before it finds the bar at the end of the list.
void checkOverLongWindowList(benchmark::State& state) {
    headless::HeadlessHost world;
    kit::UserDefaults::standard().setBool(true, "Shown Settings");
    kit::PropertyList::Array windows;
    for (int index = 0; index < 199; ++index) {
        windows.push_back(applicationWindowEntry("App " + std::to_string(index % 17),
                                                 kit::Rect(10.0 * index, 40, 800, 600)));
    }
    windows.push_back(menuBarEntry(24));
    world.setWindowList(windows);
    world.setDesktopImageURL(0, "file:///usr/share/backgrounds/default.png");
    KRMainController controller;
    controller.applicationDidFinishLaunching(nullptr);
    for (auto _ : state) {
        controller.updateMenuBarVisibilityAndColorsKey(&controller);
    }
    state.counters["windows"] = static_cast<double>(windows.size());
}
BENCHMARK(checkOverLongWindowList);

}  // namespace

BENCHMARK_MAIN();
