#include "hosts/qt/WakeUpTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QtGlobal>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qthost {

namespace {

int makeTimerDescriptor() {
    const int descriptor = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (descriptor < 0) {
        qFatal("cannot make the run loop's timer: %s", std::strerror(errno));
    }
    return descriptor;
}

// An expiry of zero would disarm the timer: a call already due waits one nanosecond instead. Rounded up,
// so the timer never fires before the call is due.
itimerspec expiryAfter(double seconds) {
    constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;
    constexpr std::int64_t longest = std::int64_t{1} << 52;  // well within a double's exact integers
    const double wanted = std::ceil(seconds * static_cast<double>(nanosecondsPerSecond));
    const std::int64_t nanoseconds = wanted >= static_cast<double>(longest)
                                         ? longest
                                         : std::max<std::int64_t>(1, static_cast<std::int64_t>(wanted));
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(nanoseconds / nanosecondsPerSecond);
    expiry.it_value.tv_nsec = static_cast<long>(nanoseconds % nanosecondsPerSecond);
    return expiry;
}

}  // namespace

WakeUpTimer::WakeUpTimer(std::function<void()> fired)
    : _descriptor(makeTimerDescriptor()),
      _notifier(_descriptor, QSocketNotifier::Read),
      _fired(std::move(fired)) {
    QObject::connect(&_notifier, &QSocketNotifier::activated, [this] { expire(); });
}

WakeUpTimer::~WakeUpTimer() {
    _notifier.setEnabled(false);
    close(_descriptor);
}

void WakeUpTimer::start(double seconds) {
    const itimerspec expiry = expiryAfter(seconds);
    timerfd_settime(_descriptor, 0, &expiry, nullptr);
}

void WakeUpTimer::stop() {
    const itimerspec disarmed{};
    timerfd_settime(_descriptor, 0, &disarmed, nullptr);
}

void WakeUpTimer::expire() {
    // Reading empties the descriptor; nothing to read means the timer was re-armed since it became readable.
    std::uint64_t expirations = 0;
    if (read(_descriptor, &expirations, sizeof expirations) != static_cast<ssize_t>(sizeof expirations)) {
        return;
    }
    _fired();
}

}  // namespace qthost
