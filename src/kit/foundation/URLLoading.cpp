#include "kit/foundation/URLLoading.h"

#include <memory>

#include "kit/core/Host.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/URL.h"

namespace kit {

namespace {

// Far more than any feed, so that a device or an endless file never exhausts memory.
constexpr std::size_t largestLocalFile = std::size_t{16} << 20;

}  // namespace

URLLoadResult LocalURLLoadingPort::loadLocal(const std::string& address) {
    std::string path = address;
    if (!address.starts_with('/')) {
        const std::optional<URL> url = URL::URLWithString(address);
        path = url ? url->path() : std::string();
        if (path.empty()) {
            return {std::nullopt, "not a local address: " + address};
        }
    }
    URLLoadResult result;
    result.contents = readWholeFile(path, largestLocalFile, &result.error);
    return result;
}

void LocalURLLoadingPort::load(const std::string& address, std::function<void(URLLoadResult)> completion) {
    completion(loadLocal(address));
}

void loadContentsOfURL(const std::string& address, std::function<void(URLLoadResult)> completion) {
    auto shared = std::make_shared<std::function<void(URLLoadResult)>>(std::move(completion));
    host().urlLoadingPort().load(address, [shared](URLLoadResult result) {
        dispatchAfter(0.0, [shared, result = std::move(result)]() mutable { (*shared)(std::move(result)); });
    });
}

}  // namespace kit
