#include "kit/foundation/URLLoading.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <system_error>

#include "kit/core/Host.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/URL.h"

namespace kit {

namespace {

class ReadDescriptor {
public:
    explicit ReadDescriptor(const std::string& path)
        // Non-blocking, so that a pipe without a writer or a device answers at once; the type check
        // that follows refuses them.
        : _descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
    ~ReadDescriptor() {
        if (_descriptor >= 0) {
            ::close(_descriptor);
        }
    }
    ReadDescriptor(const ReadDescriptor&) = delete;
    ReadDescriptor& operator=(const ReadDescriptor&) = delete;

    int get() const { return _descriptor; }

private:
    int _descriptor;
};

URLLoadResult systemFailure(const std::string& path, int reason) {
    const URLLoadFailure failure =
        reason == ENOENT || reason == ENOTDIR ? URLLoadFailure::NotFound : URLLoadFailure::Unreadable;
    return URLLoadResult::failed(failure,
                                 "cannot read " + path + ": " + std::system_category().message(reason));
}

// Refuses what is no regular file or is longer than the limit, from what stat says, before any read.
std::optional<URLLoadResult> refusal(const std::string& path, const struct stat& status,
                                     std::size_t maximumLength) {
    if (!S_ISREG(status.st_mode)) {
        return URLLoadResult::failed(URLLoadFailure::NotARegularFile, path + " is not a regular file");
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maximumLength) {
        return URLLoadResult::failed(URLLoadFailure::TooLarge,
                                     path + " is larger than " + std::to_string(maximumLength) + " bytes");
    }
    return std::nullopt;
}

URLLoadResult readRegularFile(const std::string& path, std::size_t maximumLength) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return systemFailure(path, errno);
    }
    if (auto refused = refusal(path, status, maximumLength)) {
        return *refused;
    }
    const ReadDescriptor file(path);
    if (file.get() < 0) {
        return systemFailure(path, errno);
    }
    // The path may name another file by now.
    if (::fstat(file.get(), &status) != 0) {
        return systemFailure(path, errno);
    }
    if (auto refused = refusal(path, status, maximumLength)) {
        return *refused;
    }
    // One byte past the limit tells a file that grew since from one that is exactly as long.
    std::string bytes(
        std::min<std::uintmax_t>(static_cast<std::uintmax_t>(status.st_size), maximumLength) + 1, '\0');
    std::size_t length = 0;
    while (length <= maximumLength) {
        if (length == bytes.size()) {
            bytes.resize(std::min(bytes.size() * 2, maximumLength + 1));
        }
        const ssize_t count = ::read(file.get(), bytes.data() + length, bytes.size() - length);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return systemFailure(path, errno);
        }
        if (count == 0) {
            bytes.resize(length);
            return URLLoadResult::success(std::move(bytes));
        }
        length += static_cast<std::size_t>(count);
    }
    return URLLoadResult::failed(URLLoadFailure::TooLarge,
                                 path + " is larger than " + std::to_string(maximumLength) + " bytes");
}

// What a load and its reader (a parsed feed of megabytes) freed would otherwise stay resident for the
// rest of the run: the allocator keeps freed pages for later use.
void releaseFreedMemory() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

}  // namespace

URLLoadResult LocalURLLoadingPort::loadLocal(const URLLoadRequest& request) {
    std::string path = request.address;
    if (!path.starts_with('/')) {
        const std::optional<URL> url = URL::URLWithString(request.address);
        path = url ? url->path() : std::string();
        if (path.empty()) {
            return URLLoadResult::failed(URLLoadFailure::UnsupportedAddress,
                                         "not a local address: " + request.address);
        }
    }
    return readRegularFile(path, request.maximumLength);
}

void LocalURLLoadingPort::load(const URLLoadRequest& request, std::function<void(URLLoadResult)> completion) {
    completion(loadLocal(request));
}

void loadContentsOfURL(const URLLoadRequest& request, std::function<void(URLLoadResult)> completion) {
    auto shared = std::make_shared<std::function<void(URLLoadResult)>>(std::move(completion));
    host().urlLoadingPort().load(request, [shared](URLLoadResult result) {
        dispatchAfter(0.0, [shared, result = std::move(result)]() mutable {
            (*shared)(std::move(result));
            releaseFreedMemory();
        });
    });
}

}  // namespace kit
