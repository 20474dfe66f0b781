#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kit/appkit/ApplicationPort.h"

namespace qthost {

// The processes under `procDirectory` (the /proc layout) whose executable is `executable` and that run in
// the same session as the process `self` there: the same real user, and the same runtime folder (which holds
// the single-instance socket) and display (DISPLAY, WAYLAND_DISPLAY) in their environment. Instances of other
// users, other logins or other test desktops are not ours to wait for. By identifier, `self` included.
std::vector<std::int64_t> processesRunning(const std::filesystem::path& executable,
                                           const std::filesystem::path& procDirectory = "/proc",
                                           const std::string& self = "self");

// This process on the desktop: its environment and identity from the system, other instances of Awning
// from /proc (other applications have no bundle identifier the desktop would tell us), quitting at once,
// the accessory policy as windows the task bar skips, and status items as tray icons.
class QtApplicationPort final : public kit::ApplicationPort {
public:
    // `bringToFront` activates this application.
    explicit QtApplicationPort(std::function<void()> bringToFront) : _bringToFront(std::move(bringToFront)) {}

    std::map<std::string, std::string> environment() const override;
    std::int64_t processIdentifier() const override;
    std::string bundlePath() const override;
    std::vector<kit::RunningApplicationDescription> runningApplications() const override;
    bool activateApplication(std::int64_t processIdentifier, std::uint64_t options) override;
    void terminate() override;
    int activationPolicy() const override { return _policy; }
    bool setActivationPolicy(int policy) override;
    std::unique_ptr<kit::StatusItemPeer> createStatusItemPeer(kit::StatusItem& item) override;

private:
    std::function<void()> _bringToFront;
    int _policy = 0;
};

}  // namespace qthost
