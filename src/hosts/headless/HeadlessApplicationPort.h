#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "kit/appkit/ApplicationPort.h"

namespace headless {

// Scripted process identity, environment, other applications (each running over a span of the virtual
// clock), activation policy and quitting; it records activations, terminate requests and status items.
class HeadlessApplicationPort final : public kit::ApplicationPort {
public:
    // An application that runs until the clock reaches `quitsAt`.
    struct ScriptedApplication {
        kit::RunningApplicationDescription description;
        double quitsAt = std::numeric_limits<double>::infinity();
    };
    struct Activation {
        std::int64_t processIdentifier;
        std::uint64_t options;
    };
    // Thrown by terminate() when the process is to end: it unwinds to the test as the process would exit.
    struct Terminated {};

    explicit HeadlessApplicationPort(std::function<double()> clock) : _clock(std::move(clock)) {}

    // --- Scripting
    void setEnvironment(std::map<std::string, std::string> environment) {
        _environment = std::move(environment);
    }
    void setProcessIdentifier(std::int64_t identifier) { _processIdentifier = identifier; }
    void setBundlePath(std::string path) { _bundlePath = std::move(path); }
    void addRunningApplication(ScriptedApplication application) { _others.push_back(std::move(application)); }
    // Whether terminate() returns (the process goes on) instead of ending the process.
    void setTerminateReturns(bool returns) { _terminateReturns = returns; }
    void setRefusesActivationPolicy(bool refuses) { _refusesPolicy = refuses; }

    // --- Observation
    std::size_t terminateRequests() const { return _terminateRequests; }
    const std::vector<Activation>& activations() const { return _activations; }
    std::size_t statusItemChanges() const { return _statusItemChanges; }

    // --- kit::ApplicationPort
    std::map<std::string, std::string> environment() const override { return _environment; }
    std::int64_t processIdentifier() const override { return _processIdentifier; }
    std::string bundlePath() const override { return _bundlePath; }
    std::vector<kit::RunningApplicationDescription> runningApplications() const override;
    bool activateApplication(std::int64_t processIdentifier, std::uint64_t options) override;
    void terminate() override;
    int activationPolicy() const override { return _policy; }
    bool setActivationPolicy(int policy) override;
    std::unique_ptr<kit::StatusItemPeer> createStatusItemPeer(kit::StatusItem& item) override;

private:
    std::function<double()> _clock;
    std::map<std::string, std::string> _environment;
    std::int64_t _processIdentifier = 4242;
    std::string _bundlePath = "/opt/awning/bin/awning";
    std::vector<ScriptedApplication> _others;
    bool _terminateReturns = false;
    bool _refusesPolicy = false;
    int _policy = 0;
    std::size_t _terminateRequests = 0;
    std::vector<Activation> _activations;
    std::size_t _statusItemChanges = 0;
};

}  // namespace headless
