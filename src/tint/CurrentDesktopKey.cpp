#include "tint/CurrentDesktopKey.h"

#include "kit/core/Host.h"

namespace {

struct DesktopKeyState {
    std::uint64_t process = 0;
    std::optional<std::string> key;
};

// Starts empty in every process (each host installation).
DesktopKeyState& state() {
    static DesktopKeyState desktopKey;
    if (desktopKey.process != kit::processGeneration()) {
        desktopKey = DesktopKeyState{kit::processGeneration(), std::nullopt};
    }
    return desktopKey;
}

}  // namespace

const std::optional<std::string>& currentDesktopKey() {
    return state().key;
}

void setCurrentDesktopKey(const std::string& key) {
    state().key = key;
}
