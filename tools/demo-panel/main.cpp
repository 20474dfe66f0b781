// Stand-in top panel for running Awning on a bare X server.
//
//   awning-demo-panel [--color RRGGBB] [--height N] [--tall-height N] [--x N] [--y N] [--width N]
//                     [--fullscreen] [--override-redirect] [--normal]
//
// Prints "ready 0xWINDOW" once mapped, "click X Y" (root coordinates) for every button press and
// "height N" after each SIGUSR1, which switches between the normal and the tall height.
// SIGTERM, SIGINT and SIGHUP close the window and exit 0.

#include "DemoPanel.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGUSR1, SIGTERM, SIGINT, SIGHUP}) {
        sigaction(number, &action, nullptr);
    }
}

std::optional<long> parseNumber(const char* text, int base, long min, long max) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, base);
    if (errno != 0 || end == text || *end != '\0' || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<DemoPanel::Options> parseOptions(int argc, char** argv) {
    DemoPanel::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--fullscreen") {
            options.fullscreen = true;
            continue;
        }
        if (flag == "--override-redirect") {
            options.overrideRedirect = true;
            continue;
        }
        if (flag == "--normal") {
            options.normal = true;
            continue;
        }
        if (i + 1 >= argc) {
            return std::nullopt;
        }
        const char* value = argv[++i];
        std::optional<long> number;
        if (flag == "--color" && std::strlen(value) == 6) {
            number = parseNumber(value, 16, 0, 0xffffff);
            options.color = static_cast<std::uint32_t>(number.value_or(0));
        } else if (flag == "--height") {
            number = parseNumber(value, 10, 1, 4096);
            options.height = static_cast<int>(number.value_or(0));
        } else if (flag == "--tall-height") {
            number = parseNumber(value, 10, 1, 4096);
            options.tallHeight = static_cast<int>(number.value_or(0));
        } else if (flag == "--x" || flag == "--y" || flag == "--width") {
            number = parseNumber(value, 10, 0, 32767);
            int& field = flag == "--x" ? options.x : flag == "--y" ? options.y : options.width;
            field = static_cast<int>(number.value_or(0));
        }
        if (!number) {
            return std::nullopt;
        }
    }
    return options;
}

// Returns false when the panel should exit.
bool handleSignals(DemoPanel& panel) {
    char numbers[16];
    const ssize_t count = read(signalPipe[0], numbers, sizeof numbers);
    for (ssize_t i = 0; i < count; ++i) {
        if (numbers[i] != SIGUSR1) {
            return false;
        }
        panel.toggleHeight();
        std::printf("height %d\n", panel.height());
        std::fflush(stdout);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<DemoPanel::Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--color RRGGBB] [--height N] [--tall-height N] [--fullscreen]\n",
                     argv[0]);
        return 2;
    }
    if (pipe(signalPipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    installSignalHandlers();

    DemoPanel panel(*options);
    if (!panel.isOpen()) {
        std::fprintf(stderr, "%s: cannot open display\n", argv[0]);
        return 1;
    }
    panel.show();
    std::printf("ready 0x%lx\n", panel.windowId());
    std::fflush(stdout);

    pollfd fds[2] = {{panel.connectionFd(), POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
    for (;;) {
        panel.dispatchEvents();
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            std::perror("poll");
            return 1;
        }
        if ((fds[1].revents & POLLIN) != 0 && !handleSignals(panel)) {
            return 0;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            return 1;
        }
    }
}
