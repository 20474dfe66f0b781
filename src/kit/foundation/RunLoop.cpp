#include "kit/foundation/RunLoop.h"

#include <algorithm>

#include "kit/core/Host.h"
#include "kit/core/Object.h"
#include "kit/core/ProcessLocal.h"

namespace kit {

namespace {
const bool withdrawsDestroyedObjects =
    Object::callOnDestruction([](Object& object) { RunLoop::objectWillBeDestroyed(object); });
}  // namespace

RunLoop& RunLoop::main() {
    // Never destroyed: objects may be freed during static teardown.
    static auto* runLoop = new ProcessLocal<RunLoop>;
    return runLoop->get();
}

void RunLoop::insert(Entry entry) {
    entry.sequence = _nextSequence++;
    auto position =
        std::upper_bound(_entries.begin(), _entries.end(), entry, [](const Entry& a, const Entry& b) {
            return a.call.dueTime < b.call.dueTime ||
                   (a.call.dueTime == b.call.dueTime && a.sequence < b.sequence);
        });
    _entries.insert(position, std::move(entry));
    announceNextDueTime();
}

void RunLoop::performSelector(Object& target, Selector selector, Object* argument, double delay) {
    Entry entry;
    entry.call = {&target, selector, argument, host().now() + std::max(delay, 0.0)};
    insert(std::move(entry));
}

void RunLoop::cancelPreviousPerformRequests(Object& target, Selector selector, Object* argument) {
    auto matches = [&](const Entry& entry) {
        return entry.call.target == &target && entry.call.selector == selector &&
               entry.call.argument == argument;
    };
    auto removed = std::remove_if(_entries.begin(), _entries.end(), matches);
    if (removed != _entries.end()) {
        _entries.erase(removed, _entries.end());
        announceNextDueTime();
    }
}

void RunLoop::dispatchAfter(double delay, std::function<void()> block) {
    Entry entry;
    entry.call.dueTime = host().now() + std::max(delay, 0.0);
    entry.block = std::move(block);
    insert(std::move(entry));
}

std::size_t RunLoop::runDueCalls() {
    _wakeUpSpent = true;
    const double now = host().now();
    const std::uint64_t turnStart = _nextSequence;
    std::size_t ran = 0;
    for (;;) {
        // Calls made during this turn wait for the next one, even when already due.
        auto due = std::find_if(_entries.begin(), _entries.end(),
                                [&](const Entry& entry) { return entry.sequence < turnStart; });
        if (due == _entries.end() || due->call.dueTime > now) {
            break;
        }
        Entry entry = std::move(*due);
        _entries.erase(due);
        ++ran;
        if (entry.block) {
            entry.block();
        } else {
            entry.call.target->perform(entry.call.selector, entry.call.argument);
        }
    }
    announceNextDueTime();
    return ran;
}

std::optional<double> RunLoop::nextDueTime() const {
    if (_entries.empty()) {
        return std::nullopt;
    }
    return _entries.front().call.dueTime;
}

std::vector<RunLoop::PendingCall> RunLoop::pendingCalls() const {
    std::vector<PendingCall> calls;
    calls.reserve(_entries.size());
    for (const Entry& entry : _entries) {
        calls.push_back(entry.call);
    }
    return calls;
}

std::size_t RunLoop::pendingCount(const Object& target, Selector selector) const {
    return static_cast<std::size_t>(std::count_if(_entries.begin(), _entries.end(), [&](const Entry& entry) {
        return entry.call.target == &target && entry.call.selector == selector;
    }));
}

void RunLoop::objectWillBeDestroyed(const Object& object) {
    RunLoop& loop = main();
    auto refersTo = [&](const Entry& entry) {
        return entry.call.target == &object || entry.call.argument == &object;
    };
    auto removed = std::remove_if(loop._entries.begin(), loop._entries.end(), refersTo);
    if (removed != loop._entries.end()) {
        loop._entries.erase(removed, loop._entries.end());
        if (hasHost()) {
            loop.announceNextDueTime();
        }
    }
}

void RunLoop::announceNextDueTime() {
    const std::optional<double> dueTime = nextDueTime();
    if (!_wakeUpSpent && dueTime == _announcedDueTime) {
        return;
    }
    host().scheduleWakeUp(dueTime);
    _announcedDueTime = dueTime;
    _wakeUpSpent = false;
}

void performSelector(Object& target, Selector selector, Object* argument, double afterDelay) {
    RunLoop::main().performSelector(target, selector, argument, afterDelay);
}

void cancelPreviousPerformRequests(Object& target, Selector selector, Object* argument) {
    RunLoop::main().cancelPreviousPerformRequests(target, selector, argument);
}

void dispatchAfter(double delay, std::function<void()> block) {
    RunLoop::main().dispatchAfter(delay, std::move(block));
}

void sleepForTimeInterval(double seconds) {
    host().sleep(seconds);
}

}  // namespace kit
