#include "hosts/headless/HeadlessURLLoadingPort.h"

namespace headless {

void HeadlessURLLoadingPort::load(const kit::URLLoadRequest& request,
                                  std::function<void(kit::URLLoadResult)> completion) {
    _requests.push_back(request);
    const auto scripted = _scripted.find(request.address);
    if (scripted == _scripted.end()) {
        completion(kit::LocalURLLoadingPort::loadLocal(request));
    } else if (scripted->second) {
        completion(*scripted->second);
    } else {
        _waiting.push_back(std::move(completion));
    }
}

bool HeadlessURLLoadingPort::answerOldestWaiting(const kit::URLLoadResult& answer) {
    if (_waiting.empty()) {
        return false;
    }
    const std::function<void(kit::URLLoadResult)> completion = std::move(_waiting.front());
    _waiting.pop_front();
    completion(answer);
    return true;
}

}  // namespace headless
