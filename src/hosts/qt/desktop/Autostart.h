#pragma once

#include <filesystem>
#include <string>

namespace qthost {

// Starting Awning at login the freedesktop way: an entry in the autostart folder of the user's
// configuration home that runs the executable given.
class Autostart {
public:
    Autostart(const std::filesystem::path& configHome, std::filesystem::path executable);

    const std::filesystem::path& entryPath() const { return _entryPath; }
    // An entry is there and the desktop is not told to skip it.
    bool isEnabled() const;
    // Writes or removes the entry; false, with `error` set, when the file system refuses.
    bool setEnabled(bool enabled, std::string& error) const;

    // The entry's text for `executable`.
    static std::string entryText(const std::filesystem::path& executable);

private:
    std::filesystem::path _entryPath;
    std::filesystem::path _executable;
};

}  // namespace qthost
