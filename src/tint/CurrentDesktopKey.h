#pragma once

#include <optional>
#include <string>

// The process-wide key of the primary screen's desktop picture: nullopt until the first menu-bar check
// stores it. The colour store keeps colours per key.
const std::optional<std::string>& currentDesktopKey();
void setCurrentDesktopKey(const std::string& key);
