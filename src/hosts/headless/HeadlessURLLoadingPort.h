#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kit/foundation/URLLoading.h"

namespace headless {

// Files and "file:" addresses from the disk, read as the kit reads them; any other address answers as a
// test scripted it, and fails as unsupported when nothing was scripted (the headless world reaches no
// web).
class HeadlessURLLoadingPort final : public kit::URLLoadingPort {
public:
    // From now on `address` answers with `answer`; nullopt stands for a server that accepts and never
    // answers, behind a port that never gives up on it.
    void script(const std::string& address, std::optional<kit::URLLoadResult> answer) {
        _scripted[address] = std::move(answer);
    }
    // Answers the load that has waited longest, as a server that answers late; false when none waits.
    bool answerOldestWaiting(const kit::URLLoadResult& answer);
    // Every load asked for, in order.
    const std::vector<kit::URLLoadRequest>& requests() const { return _requests; }

    void load(const kit::URLLoadRequest& request,
              std::function<void(kit::URLLoadResult)> completion) override;

private:
    std::map<std::string, std::optional<kit::URLLoadResult>> _scripted;
    std::vector<kit::URLLoadRequest> _requests;
    // Loads that never answer keep their caller waiting, as an open connection would.
    std::deque<std::function<void(kit::URLLoadResult)>> _waiting;
};

}  // namespace headless
