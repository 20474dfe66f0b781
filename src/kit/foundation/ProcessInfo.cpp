#include "kit/foundation/ProcessInfo.h"

#include "kit/appkit/ApplicationPort.h"
#include "kit/core/Host.h"

namespace kit {

ProcessInfo& ProcessInfo::processInfo() {
    static ProcessInfo info;  // stateless: the host knows the process
    return info;
}

std::map<std::string, std::string> ProcessInfo::environment() const {
    return host().applicationPort().environment();
}

}  // namespace kit
