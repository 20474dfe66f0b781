#include "hosts/headless/HeadlessURLLoadingPort.h"

#include <utility>

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
        _unanswered.push_back(std::move(completion));
    }
}

void HeadlessURLLoadingPort::answerUnanswered(const kit::URLLoadResult& answer) {
    for (auto& completion : std::exchange(_unanswered, {})) {
        completion(answer);
    }
}

}  // namespace headless
