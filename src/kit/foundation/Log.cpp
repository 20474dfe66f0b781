#include "kit/foundation/Log.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>

#include "kit/core/Host.h"

namespace kit {

namespace {

std::string timestamp(double unixTime) {
    const auto seconds = static_cast<std::time_t>(std::floor(unixTime));
    const int milliseconds = static_cast<int>((unixTime - std::floor(unixTime)) * 1000.0);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
    return text;
}

}  // namespace

void log(const std::string& message) {
    std::fprintf(stderr, "%s Awning[%d] %s\n", timestamp(host().unixTime()).c_str(),
                 static_cast<int>(getpid()), message.c_str());
    host().didLog(message);
}

void beep() {
    host().beep();
}

}  // namespace kit
