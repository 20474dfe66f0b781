#include "kit/core/Host.h"

#include <cstdio>
#include <cstdlib>

#include "kit/appkit/Application.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"

namespace kit {

namespace {
Host* installedHost = nullptr;
std::uint64_t generation = 0;
}  // namespace

std::uint64_t processGeneration() {
    return generation;
}

void installHost(Host& newHost) {
    installedHost = &newHost;
    ++generation;
    RunLoop::main().reset();
    NotificationCenter::resetAll();
    SystemVersion::reset();
    Bundle::resetMain();
    UserDefaults::resetStandard();
    Application::reset();
}

void uninstallHost(Host& oldHost) {
    if (installedHost == &oldHost) {
        installedHost = nullptr;
    }
}

Host& host() {
    if (!installedHost) {
        std::fputs("Awning: the kit was used before a host was installed\n", stderr);
        std::abort();
    }
    return *installedHost;
}

bool hasHost() {
    return installedHost != nullptr;
}

}  // namespace kit
