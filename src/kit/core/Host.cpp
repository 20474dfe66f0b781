#include "kit/core/Host.h"

#include <cstdio>
#include <cstdlib>

#include "kit/core/ProcessLocal.h"

namespace kit {

namespace {
Host* installedHost = nullptr;
}  // namespace

void installHost(Host& newHost) {
    installedHost = &newHost;
    ProcessLocalBase::discardAll();
}

void uninstallHost(Host& oldHost) {
    if (installedHost == &oldHost) {
        // The process ends: what it holds goes while its host can still see it go.
        ProcessLocalBase::discardAll();
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
