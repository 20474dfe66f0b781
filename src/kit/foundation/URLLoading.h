#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kit {

// The outcome of loading an address: its bytes, or nullopt with the reason.
struct URLLoadResult {
    std::optional<std::string> contents;
    std::string error;
};

// How the host reads what an address names (a file, a web page). A port may answer at once or later;
// the kit hands the answer to its caller on a later run-loop turn either way.
class URLLoadingPort {
public:
    virtual ~URLLoadingPort() = default;
    virtual void load(const std::string& address, std::function<void(URLLoadResult)> completion) = 0;
};

// Loads plain paths and "file:" addresses; any other address fails.
class LocalURLLoadingPort : public URLLoadingPort {
public:
    void load(const std::string& address, std::function<void(URLLoadResult)> completion) override;
    static URLLoadResult loadLocal(const std::string& address);
};

// Loads `address` through the host's port and calls `completion` on the main thread, never during this call.
void loadContentsOfURL(const std::string& address, std::function<void(URLLoadResult)> completion);

}  // namespace kit
