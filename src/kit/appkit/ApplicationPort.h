#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kit {

class StatusItem;
class StatusItemPeer;

// Another process of the desktop, as the host lists it.
struct RunningApplicationDescription {
    std::string bundleIdentifier;
    std::int64_t processIdentifier = 0;
    std::string bundlePath;
};

// What the application object and its running-application and status-bar services need from the machine:
// this process's identity and environment, the other running applications, quitting, the activation policy
// and the presenters of status items. The host answers; the kit decides what to do with the answers.
class ApplicationPort {
public:
    virtual ~ApplicationPort() = default;

    // The variables this process was started with.
    virtual std::map<std::string, std::string> environment() const = 0;
    virtual std::int64_t processIdentifier() const = 0;
    // Where this application lives: what a launch of it as a new instance starts.
    virtual std::string bundlePath() const = 0;
    // Every running application the desktop knows, this one included.
    virtual std::vector<RunningApplicationDescription> runningApplications() const = 0;
    // Brings the application with that process identifier to the front; false when there is none.
    virtual bool activateApplication(std::int64_t processIdentifier, std::uint64_t options) = 0;
    // Ends this process; returns only when it did not end.
    virtual void terminate() = 0;
    // Regular (0: in the task bar) or accessory (1: not); setting one the desktop cannot give is refused.
    virtual int activationPolicy() const = 0;
    virtual bool setActivationPolicy(int policy) = 0;
    // A presenter that mirrors `item` in the desktop's tray; lives as long as the item.
    virtual std::unique_ptr<StatusItemPeer> createStatusItemPeer(StatusItem& item) = 0;
};

}  // namespace kit
