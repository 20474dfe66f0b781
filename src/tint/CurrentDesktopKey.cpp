#include "tint/CurrentDesktopKey.h"

#include "kit/core/ProcessLocal.h"

namespace {

// Every process starts without a key.
kit::ProcessLocal<std::optional<std::string>>& desktopKey() {
    static kit::ProcessLocal<std::optional<std::string>> key;
    return key;
}

}  // namespace

const std::optional<std::string>& currentDesktopKey() {
    return desktopKey().get();
}

void setCurrentDesktopKey(const std::string& key) {
    desktopKey().get() = key;
}
