#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "kit/core/Selector.h"

namespace kit {

class Object;

// The main thread's run loop on the host's clock. It keeps the pending delayed calls; the host only
// wakes it when the earliest one falls due.
class RunLoop {
public:
    struct PendingCall {
        Object* target = nullptr;  // nullptr for a block
        Selector selector;
        Object* argument = nullptr;
        double dueTime = 0.0;
    };

    static RunLoop& main();

    // Calls `selector` on `target` with `argument` once `delay` seconds have passed. A delay of 0 (or
    // less) runs on the next turn, never during this call. Calls due at the same time run in the order
    // they were made.
    void performSelector(Object& target, Selector selector, Object* argument, double delay);
    // Removes every pending call that matches target, selector and argument (by identity; nil matches nil).
    void cancelPreviousPerformRequests(Object& target, Selector selector, Object* argument);
    // A block on the main queue after `delay` seconds; it cannot be cancelled.
    void dispatchAfter(double delay, std::function<void()> block);

    // One turn: runs every call due at the host's current time that was pending when the turn began,
    // earliest first. Returns how many ran.
    std::size_t runDueCalls();
    std::optional<double> nextDueTime() const;

    std::vector<PendingCall> pendingCalls() const;
    std::size_t pendingCount(const Object& target, Selector selector) const;
    // No pending call may reach an object once it is gone, as target or as argument.
    static void objectWillBeDestroyed(const Object& object);

private:
    struct Entry {
        PendingCall call;
        std::function<void()> block;
        std::uint64_t sequence = 0;
    };

    void insert(Entry entry);
    // Tells the host only what it does not know yet: a turn five times a second would otherwise re-arm
    // its timer twice per turn for the same time.
    void announceNextDueTime();

    std::vector<Entry> _entries;  // sorted by (due time, sequence)
    std::uint64_t _nextSequence = 0;
    std::optional<double> _announcedDueTime;
    bool _wakeUpSpent =
        true;  // the host's wake-up fired (or none was asked for yet): the next one must be asked
};

// The platform's spellings, on the main run loop.
void performSelector(Object& target, Selector selector, Object* argument, double afterDelay);
void cancelPreviousPerformRequests(Object& target, Selector selector, Object* argument);
void dispatchAfter(double delay, std::function<void()> block);
// Blocks the main thread through the host; pending calls wait.
void sleepForTimeInterval(double seconds);

}  // namespace kit
