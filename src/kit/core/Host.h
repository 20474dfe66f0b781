#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/geometry/Geometry.h"

namespace kit {

class ApplicationPort;
class ControlPort;
class PropertyList;
class URLLoadingPort;
class Window;
class WindowPeer;

// One display as the host reports it, in global screen coordinates (points, origin at the lower left of
// the primary screen, y up).
struct ScreenDescription {
    Rect frame;
    Rect visibleFrame;  // the frame less the menu bar, panels and docks; empty: all of the frame
    double backingScaleFactor = 1.0;
    EdgeInsets safeAreaInsets;  // top > 0 on screens with a camera housing
    Rect auxiliaryTopLeftArea;  // empty without a housing
    Rect auxiliaryTopRightArea;
    friend bool operator==(const ScreenDescription&, const ScreenDescription&) = default;
};

struct LaunchRequest {
    std::string applicationPath;
    std::map<std::string, std::string> environment;
    bool newInstance = false;
};

// What the kit needs from the machine it runs on. Exactly one host is installed per process (the
// headless host in tests, the Qt host on a desktop); nothing above the kit knows which one it is.
// Every method is called on the main thread.
class Host {
public:
    virtual ~Host() = default;

    // --- Clock and run loop
    // Seconds on the host's monotonic clock; delayed calls fall due against it.
    virtual double now() const = 0;
    // Seconds since 1970-01-01 00:00 UTC, for dates.
    virtual double unixTime() const = 0;
    // The run loop's earliest due time changed (nullopt: nothing pending). Once that time has come the
    // host calls RunLoop::main().runDueCalls(); a later request replaces an earlier one.
    virtual void scheduleWakeUp(std::optional<double> dueTime) = 0;
    // Blocks the main thread for `seconds`; no delayed call fires meanwhile.
    virtual void sleep(double seconds) = 0;
    // Runs the main event loop until the application terminates; returns the exit status.
    virtual int run() = 0;

    // --- Diagnostics
    // A log message, after the kit has written its line to standard error.
    virtual void didLog(const std::string& message) = 0;
    virtual void beep() = 0;

    // --- Places and locale
    // Folder of the user-defaults domains, one XML property list per domain.
    virtual std::filesystem::path defaultsDirectory() const = 0;
    // The main bundle: the resources folder with the Info property list and strings tables.
    virtual std::filesystem::path bundleDirectory() const = 0;
    // Language codes in order of preference ("en", "de-CH"); a text comes from the first language whose
    // table has it.
    virtual std::vector<std::string> preferredLanguages() const = 0;
    // Locale for formatting ("en_US") and IANA time-zone name ("UTC", "Europe/Berlin").
    virtual std::string localeName() const = 0;
    virtual std::string timeZoneName() const = 0;

    // --- Workspace
    // Opens an address in the user's browser; false when it cannot.
    virtual bool openURL(const std::string& url) = 0;
    // Starts an application; false with `error` set when the launch fails.
    virtual bool launchApplication(const LaunchRequest& request, std::string& error) = 0;
    // The desktop picture's address on screen `screenIndex`, or nullopt when the desktop publishes none.
    virtual std::optional<std::string> desktopImageURL(std::size_t screenIndex) const = 0;
    // The desktop (space) the user sees now; windows ordered front join it.
    virtual int activeSpace() const = 0;
    // Whether the desktop starts this application when the user logs in.
    virtual bool launchesAtLogin() const = 0;
    // Asks the desktop to start (or no longer start) this application at login; false, with `error` set,
    // when it cannot.
    virtual bool setLaunchesAtLogin(bool launches, std::string& error) = 0;

    // --- Screens, window server and events
    // Ordered screens, the primary (menu-bar) screen first with its frame at (0, 0); may be empty. The
    // layout pass reads it five times a second, so hosts keep the list rather than build it per call.
    virtual const std::vector<ScreenDescription>& screens() const = 0;
    // The window server's list, frontmost first: one dictionary per window with the window server's keys
    // ("kCGWindowOwnerName", "kCGWindowName", "kCGWindowIsOnscreen", "kCGWindowBounds", ...), bounds
    // with a top-left origin. nullopt when the window server gives no list.
    virtual std::optional<std::vector<PropertyList>> windowList(std::uint32_t options,
                                                                std::uint32_t relativeToWindow) = 0;
    // Pointer position in global screen coordinates.
    virtual Point mouseLocation() const = 0;
    // False on desktops that never tell an application where the pointer is (it then reads as far off every
    // screen).
    virtual bool knowsMouseLocation() const { return true; }
    // Modifier flags held now, in the platform's bits (Shift 0x20000).
    virtual std::uint64_t modifierFlags() const = 0;

    // --- Windows
    // A presenter that mirrors `window` (the kit's model) on the screen; lives as long as the window.
    virtual std::unique_ptr<WindowPeer> createWindowPeer(Window& window) = 0;
    // Brings the application to the front.
    virtual void activateIgnoringOtherApps() = 0;

    // --- Controls
    // Measures controls and text and tracks pop-up menus; lives as long as the host.
    virtual ControlPort& controlPort() = 0;

    // --- Application, running applications and status bar
    // This process's identity, environment and quitting; other applications; tray items. Lives as long
    // as the host.
    virtual ApplicationPort& applicationPort() = 0;
    // --- Loading addresses
    // Reads files and "file:" addresses (and whatever else the host can reach); lives as long as the host.
    virtual URLLoadingPort& urlLoadingPort() = 0;
};

// Installs `host` as the process's host and drops every ProcessLocal value: installing a host is
// starting the process.
void installHost(Host& host);
// Removes `host` if it is the installed one, ending its process: every ProcessLocal value is dropped.
void uninstallHost(Host& host);
// The installed host; the kit must not be used before one is installed.
Host& host();
bool hasHost();

}  // namespace kit
