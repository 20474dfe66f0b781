#include "kit/core/Host.h"

#include <cstdio>
#include <cstdlib>

#include "kit/foundation/NotificationCenter.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"

namespace kit {

namespace {
Host* installedHost = nullptr;
}

void installHost(Host& newHost) {
    installedHost = &newHost;
    RunLoop::main().reset();
    NotificationCenter::resetAll();
    SystemVersion::reset();
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

bool hasHost() { return installedHost != nullptr; }

}  // namespace kit
