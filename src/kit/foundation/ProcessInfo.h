#pragma once

#include <map>
#include <string>

namespace kit {

// This process (NSProcessInfo): what it was started with.
class ProcessInfo {
public:
    static ProcessInfo& processInfo();

    // The variables this process was started with, by name.
    std::map<std::string, std::string> environment() const;
};

}  // namespace kit
