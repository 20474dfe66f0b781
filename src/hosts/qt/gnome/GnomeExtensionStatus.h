#pragma once

#include <optional>
#include <string>

// What GNOME Shell says of Awning's extension, and the one line that tells the user what to do about it.
namespace qthost {

inline constexpr const char* gnomeExtensionUuid = "awning@larkspur.example";

// org.gnome.Shell.Extensions.GetExtensionInfo's answer: nothing for an extension the shell does not know.
struct GnomeExtensionInfo {
    bool known = false;
    double state = 0;   // the shell's extension states: 1 enabled, 2 disabled, 3 error, 4 out of date, ...
    std::string error;  // why it failed, for state 3
};

// Why the tint cannot show and what to run, in one line; `info` is nullopt when GNOME Shell did not answer.
std::string gnomeExtensionInstruction(const std::optional<GnomeExtensionInfo>& info);

}  // namespace qthost
