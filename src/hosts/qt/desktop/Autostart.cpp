#include "hosts/qt/desktop/Autostart.h"

#include <optional>
#include <sstream>
#include <system_error>

#include "kit/foundation/FileContents.h"

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

// A desktop entry is a few hundred bytes; anything much larger, or no regular file, is none of ours.
constexpr std::size_t largestEntry = std::size_t{64} << 10;

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
    // Read at every showing of the settings window: a FIFO or a device there must not stall it.
    const std::optional<std::string> text = kit::readWholeFile(_entryPath, largestEntry);
    if (!text) {
        return false;
    }
    std::istringstream entry(*text);
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
        // Replaced, never opened for writing: whatever is there (a FIFO would block a writer) is renamed over.
        std::string reason;
        if (!kit::writeWholeFileAtomically(_entryPath, entryText(_executable), &reason)) {
            error = "Cannot write " + _entryPath.string() + ": " + reason;
            return false;
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
