#pragma once

#include <QSocketNotifier>
#include <functional>

namespace qthost {

// The kit run loop's one timer on Qt's event loop: a Linux timer descriptor watched by a socket notifier.
// Re-arming it is one system call. A single-shot QTimer, re-armed five times a second while the tint
// shows, unregistered and freed its timer record each time it fired and allocated a new one when started
// again, which was the largest part of Awning's cost at rest beyond reading the pointer.
class WakeUpTimer final {
public:
    // `fired` runs on the event loop each time an armed timer expires.
    explicit WakeUpTimer(std::function<void()> fired);
    ~WakeUpTimer();
    WakeUpTimer(const WakeUpTimer&) = delete;
    WakeUpTimer& operator=(const WakeUpTimer&) = delete;

    // Fires once after `seconds` (at the next turn when none are left), replacing any earlier request.
    void start(double seconds);
    void stop();

private:
    void expire();

    int _descriptor;
    QSocketNotifier _notifier;
    std::function<void()> _fired;
};

}  // namespace qthost
