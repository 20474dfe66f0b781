#include "hosts/qt/desktop/Autostart.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace qthost {

namespace {

// Exec values quote arguments that hold spaces or reserved characters. Inside quotes a double quote, a
// backquote, a dollar sign and a backslash take a backslash; the string escapes of the file then double
// every backslash again.
std::string quotedArgument(const std::string& argument) {
    if (argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
        } else if (c == '\\') {
            quoted += "\\\\\\";
        }
        quoted += c;
    }
    return quoted + "\"";
}

bool skipsEntry(const std::string& line) {
    return line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false";
}

}  // namespace

Autostart::Autostart(const std::filesystem::path& configHome, std::filesystem::path executable)
    : _entryPath(configHome / "autostart" / "awning.desktop"), _executable(std::move(executable)) {}

std::string Autostart::entryText(const std::filesystem::path& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Awning\n"
           "Comment=Tints the top panel\n"
           "Exec=" +
           quotedArgument(executable.string()) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool Autostart::isEnabled() const {
    std::ifstream entry(_entryPath);
    if (!entry) {
        return false;
    }
    for (std::string line; std::getline(entry, line);) {
        if (skipsEntry(line)) {
            return false;
        }
    }
    return true;
}

bool Autostart::setEnabled(bool enabled, std::string& error) const {
    std::error_code failure;
    if (!enabled) {
        std::filesystem::remove(_entryPath, failure);
    } else if (std::filesystem::create_directories(_entryPath.parent_path(), failure); !failure) {
        std::ofstream entry(_entryPath, std::ios::trunc);
        entry << entryText(_executable);
        entry.close();
        if (!entry) {
            failure = std::make_error_code(std::errc::io_error);
        }
    }
    if (failure) {
        error = "Cannot " + std::string(enabled ? "write " : "remove ") + _entryPath.string() + ": " +
                failure.message();
        return false;
    }
    return true;
}

}  // namespace qthost
