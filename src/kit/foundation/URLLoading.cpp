#include "kit/foundation/URLLoading.h"

#include <malloc.h>

#include <memory>

#include "kit/core/Host.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/URL.h"

namespace kit {

namespace {

URLLoadFailure loadFailure(FileReadFailure failure) {
    switch (failure) {
        case FileReadFailure::NotFound:
            return URLLoadFailure::NotFound;
        case FileReadFailure::NotARegularFile:
            return URLLoadFailure::NotARegularFile;
        case FileReadFailure::TooLarge:
            return URLLoadFailure::TooLarge;
        case FileReadFailure::Unreadable:
            break;
    }
    return URLLoadFailure::Unreadable;
}

URLLoadResult readRegularFile(const std::string& path, std::size_t maximumLength) {
    std::string error;
    FileReadFailure failure = FileReadFailure::Unreadable;
    if (std::optional<std::string> bytes = readWholeFile(path, maximumLength, &error, &failure)) {
        return URLLoadResult::success(std::move(*bytes));
    }
    return URLLoadResult::failed(loadFailure(failure), error);
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
