#pragma once

#include <functional>

// Switches the application to an accessory (`background`: no task-bar entry) or a regular application and
// makes the switch take hold by activating it again. On a platform too old for the accessory policy the
// switch is not attempted: with `notAttempted` that is stored through it and YES returned, else NO.
bool KRSetActivationPolicy(bool background, bool activate, bool* notAttempted,
                           std::function<void()> completion);
bool KRSetActivationPolicy(bool background, bool activate, bool* notAttempted);
