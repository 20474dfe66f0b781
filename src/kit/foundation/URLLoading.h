#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace kit {

// What a caller asks of a load: where, how much it will take at most, and how long it will wait.
struct URLLoadRequest {
    std::string address;
    // Bytes; a longer answer fails as TooLarge, without being read whole.
    std::size_t maximumLength = 0;
    // Seconds for the whole load, from asking to the last byte.
    double timeout = 0.0;
};

// Why a load failed, in kinds a caller can put into words for people.
enum class URLLoadFailure {
    None,
    UnsupportedAddress,  // no local file, or a scheme the host does not fetch
    NotFound,            // no such file; the server has no such page
    NotARegularFile,     // a folder, a pipe, a device
    Unreadable,          // permissions, an input/output error
    TooLarge,
    TimedOut,
    CannotConnect,  // no such host, refused, no network, a failed secure handshake
    ServerError,    // the server answered with an error status
};

// The outcome of loading an address: its bytes, or nullopt with the kind of failure and the reason.
struct URLLoadResult {
    std::optional<std::string> contents;
    URLLoadFailure failure = URLLoadFailure::None;
    std::string error;

    static URLLoadResult success(std::string contents) {
        return {std::move(contents), URLLoadFailure::None, {}};
    }
    static URLLoadResult failed(URLLoadFailure failure, std::string error) {
        return {std::nullopt, failure, std::move(error)};
    }
};

// How the host reads what an address names (a file, a web page). A port answers once, at once or later,
// honouring the request's length and time limits; the kit hands the answer to its caller on a later
// run-loop turn either way.
class URLLoadingPort {
public:
    virtual ~URLLoadingPort() = default;
    virtual void load(const URLLoadRequest& request, std::function<void(URLLoadResult)> completion) = 0;
};

// Loads plain paths and "file:" addresses; any other address fails.
class LocalURLLoadingPort : public URLLoadingPort {
public:
    void load(const URLLoadRequest& request, std::function<void(URLLoadResult)> completion) override;
    // Reads only a regular file, and no more than one byte past the limit; it never waits for a writer
    // (a pipe) or a device. Safe to call on any thread. The request's timeout is the caller's to keep.
    static URLLoadResult loadLocal(const URLLoadRequest& request);
};

// Loads through the host's port and calls `completion` on the main thread, never during this call; once it
// returns, the memory freed meanwhile goes back to the system.
void loadContentsOfURL(const URLLoadRequest& request, std::function<void(URLLoadResult)> completion);

}  // namespace kit
