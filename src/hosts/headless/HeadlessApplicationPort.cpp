#include "hosts/headless/HeadlessApplicationPort.h"

#include <algorithm>

#include "kit/appkit/StatusItemPeer.h"
#include "kit/foundation/Bundle.h"

namespace headless {

namespace {

class CountingStatusItemPeer final : public kit::StatusItemPeer {
public:
    explicit CountingStatusItemPeer(std::size_t& changes) : _changes(changes) {}
    void statusItemDidChange(const kit::StatusItem&) override { ++_changes; }

private:
    std::size_t& _changes;
};

}  // namespace

std::vector<kit::RunningApplicationDescription> HeadlessApplicationPort::runningApplications() const {
    std::vector<kit::RunningApplicationDescription> running{
        {kit::Bundle::main().bundleIdentifier().value_or(""), _processIdentifier, _bundlePath}};
    const double now = _clock();
    for (const ScriptedApplication& other : _others) {
        if (now < other.quitsAt) {
            running.push_back(other.description);
        }
    }
    return running;
}

bool HeadlessApplicationPort::activateApplication(std::int64_t processIdentifier, std::uint64_t options) {
    _activations.push_back({processIdentifier, options});
    return true;
}

void HeadlessApplicationPort::terminate() {
    ++_terminateRequests;
    if (!_terminateReturns) {
        throw Terminated{};
    }
}

bool HeadlessApplicationPort::setActivationPolicy(int policy) {
    if (_refusesPolicy) {
        return false;
    }
    _policy = policy;
    return true;
}

std::unique_ptr<kit::StatusItemPeer> HeadlessApplicationPort::createStatusItemPeer(kit::StatusItem&) {
    return std::make_unique<CountingStatusItemPeer>(_statusItemChanges);
}

}  // namespace headless
