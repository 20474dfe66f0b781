#pragma once

#include <string>

namespace kit {

// NSLog: one line to standard error ("2026-01-05 10:00:00.000 Awning[pid] message") and the message to
// the host, where tests read it.
void log(const std::string& message);
// NSBeep: the system beep, through the host.
void beep();

}  // namespace kit
