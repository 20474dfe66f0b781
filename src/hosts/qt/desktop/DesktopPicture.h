#pragma once

#include <memory>
#include <optional>
#include <string>

namespace qthost {

// The desktop picture where the desktop publishes it in its settings (GNOME and its relatives, Cinnamon,
// MATE). Plain C++ on the outside: GLib's headers clash with Qt's keywords.
class DesktopPicture {
public:
    struct Setting {
        std::string schema;
        std::string key;
        std::string darkKey;     // used instead of `key` while the desktop prefers dark colours; empty: none
        bool holdsPath = false;  // a file path rather than an address
        friend bool operator==(const Setting&, const Setting&) = default;
    };

    // Where the first desktop we know of in `currentDesktops` (XDG_CURRENT_DESKTOP's colon-separated list)
    // keeps its picture; nullopt when none is known.
    static std::optional<Setting> settingFor(const std::string& currentDesktops);

    // Opens the settings once; reading them later is cheap.
    explicit DesktopPicture(const std::string& currentDesktops);
    ~DesktopPicture();
    DesktopPicture(const DesktopPicture&) = delete;
    DesktopPicture& operator=(const DesktopPicture&) = delete;

    // The picture's absolute address ("file:///…"), or nullopt when the desktop shows none or publishes none.
    std::optional<std::string> url() const;

private:
    struct Source;
    std::unique_ptr<Source> _source;
};

}  // namespace qthost
