// Drives a Wayland compositor for the end-to-end tests, as the user's hand and a launcher would.
//
//   awning-wayland-driver move X Y                   the pointer to (X, Y), points of the first output
//   awning-wayland-driver click X Y                  a left click there
//   awning-wayland-driver drag X1 Y1 X2 Y2 [shift]   press at the first point, move, release at the second
//                                                    (holding Shift: KWin only; use wtype on wlroots)
//   awning-wayland-driver token                      prints a new xdg-activation token
//   awning-wayland-driver full-screen RRGGBB         a full-screen window of that colour until killed;
//                                                    prints "ready WxH" once shown
//   awning-wayland-driver kwin-screenshot FILE.png   KWin's outputs, through its D-Bus interface

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "KWinScreenshot.h"
#include "WaylandDriver.h"

namespace {

// Clients see input in the order it came only when each step reached them first.
void letClientsCatchUp() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

bool drag(WaylandDriver& driver, int x1, int y1, int x2, int y2, bool withShift) {
    constexpr int steps = 8;
    if (!driver.move(x1, y1) || (withShift && !driver.shift(true))) {
        return false;
    }
    letClientsCatchUp();
    driver.press(true);
    for (int step = 1; step <= steps; ++step) {
        letClientsCatchUp();
        driver.move(x1 + (x2 - x1) * step / steps, y1 + (y2 - y1) * step / steps);
    }
    letClientsCatchUp();
    driver.press(false);
    letClientsCatchUp();
    return !withShift || driver.shift(false);
}

int usage() {
    std::fputs("usage: awning-wayland-driver move X Y | click X Y | drag X1 Y1 X2 Y2 [shift] | token | "
               "full-screen RRGGBB | kwin-screenshot FILE\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return usage();
    }
    const std::string& command = args[0];
    if (command == "kwin-screenshot" && args.size() == 2) {
        // The bus alone: no window of our own, so no platform to connect to.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return saveKWinScreenshot(args[1]) ? 0 : 1;
    }
    std::unique_ptr<WaylandDriver> driver = WaylandDriver::connect();
    if (!driver) {
        return 1;
    }
    const auto number = [&](std::size_t index) { return std::stoi(args.at(index)); };
    if (command == "move" && args.size() == 3) {
        return driver->move(number(1), number(2)) ? 0 : 1;
    }
    if (command == "click" && args.size() == 3) {
        const bool done = driver->move(number(1), number(2));
        letClientsCatchUp();
        return done && driver->press(true) && driver->press(false) ? 0 : 1;
    }
    if (command == "drag" && (args.size() == 5 || (args.size() == 6 && args[5] == "shift"))) {
        return drag(*driver, number(1), number(2), number(3), number(4), args.size() == 6) ? 0 : 1;
    }
    if (command == "token" && args.size() == 1) {
        const std::optional<std::string> token = driver->activationToken();
        if (token) {
            std::printf("%s\n", token->c_str());
        }
        return token ? 0 : 1;
    }
    if (command == "full-screen" && args.size() == 2) {
        return driver->showFullScreenWindow(static_cast<std::uint32_t>(std::stoul(args[1], nullptr, 16))) ? 0 : 1;
    }
    return usage();
}
