#include "kit/core/ProcessLocal.h"

#include <algorithm>
#include <vector>

namespace kit {

namespace {

std::vector<ProcessLocalBase*>& registry() {
    static auto* entries = new std::vector<ProcessLocalBase*>;  // outlives every static ProcessLocal
    return *entries;
}

}  // namespace

ProcessLocalBase::ProcessLocalBase() {
    registry().push_back(this);
}

ProcessLocalBase::~ProcessLocalBase() {
    std::erase(registry(), this);
}

void ProcessLocalBase::discardAll() {
    // Discarding may register new entries (a destructor's first use of some state) or destroy static
    // ones, so walk a snapshot and skip what has gone meanwhile.
    const std::vector<ProcessLocalBase*> snapshot = registry();
    for (auto entry = snapshot.rbegin(); entry != snapshot.rend(); ++entry) {
        if (std::find(registry().begin(), registry().end(), *entry) != registry().end()) {
            (*entry)->discard();
        }
    }
}

}  // namespace kit
