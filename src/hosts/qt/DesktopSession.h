#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/foundation/PropertyList.h"
#include "kit/graphics/Bitmap.h"

class QWindow;

// The seam between the Qt host and the kind of desktop session it runs in (X11, a Wayland compositor with
// layer-shell, GNOME Shell...). The host picks one session at start; everything that only one kind of
// desktop has lives behind it, in the session's own folder, which includes this header and the kit alone.
namespace qthost {

// Pixels, origin at the top left, y down: Qt's global coordinates, or a desktop's own.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A screen as Qt reports it, for a session to measure its desktop against.
struct SessionScreen {
    std::string name;    // the output's name (a connector: "DP-1", "HEADLESS-1")
    PixelRect geometry;  // Qt's global coordinates: device-independent pixels, the kit's points
    PixelRect pixels;    // the same screen in device pixels, its top-left corner where Qt keeps it
    double scale = 1.0;  // device pixels per point
    friend bool operator==(const SessionScreen&, const SessionScreen&) = default;
};

// What a session tells `awning --status`, around the host's own lines (the tint, the desktop picture, the
// opacities, the time of the last check).
struct SessionStatus {
    std::vector<std::string> panel;        // first: which bar was taken, or why none
    std::vector<std::string> desktop;      // after the tint's line: what else explains it
    std::string checkCost;                 // what a check asks of the desktop ("0 X requests"); empty: nothing
    std::vector<std::string> lastReading;  // last, once a check ran: what the last reading cost
    // The tint, when the session presents it itself (its surfaces are no Qt windows).
    std::optional<PixelRect> tint;
    std::optional<double> tintOpacity;
};

// An overlay (a borderless window that ignores the mouse) that the session presents on its own instead of as
// a Qt window: above the panel, click-through, never focused, translucent.
class OverlaySurface {
public:
    virtual ~OverlaySurface() = default;
    // Where it lies, in Qt's global coordinates.
    virtual void setGeometry(const PixelRect& geometry) = 0;
    // How to paint the content at a scale (pixels per point); asked again whenever the surface needs
    // pixels at a new size or scale, and after contentDidChange.
    virtual void setPainter(std::function<kit::Bitmap(double scale)> paint) = 0;
    virtual void contentDidChange() = 0;
    // The opacity to show: at once for 0 seconds, else reached over `fadeSeconds`.
    virtual void setOpacity(double opacity, double fadeSeconds) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
};

class DesktopSession {
public:
    virtual ~DesktopSession() = default;

    // --- The desktop
    // The window server's list, frontmost first, in the kit's keys, its bounds in points from the top left
    // of the first screen; nullopt when this session cannot list windows. `screens`: primary first.
    virtual std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                               const std::vector<SessionScreen>& screens) = 0;
    // The desktop (workspace) the user sees now; 0 without any.
    virtual int activeSpace() const = 0;
    // Whether the pointer's place is known wherever it is (QCursor tells it), or only over our own windows.
    virtual bool knowsPointer() const = 0;
    // Where the pointer is, in Qt's global coordinates, when the session knows it better than Qt; nullopt
    // leaves it to Qt.
    virtual std::optional<PixelPoint> pointer() const { return std::nullopt; }
    virtual SessionStatus status() const = 0;

    // --- Our windows
    // Whether our windows lie where we put them; where the compositor places them instead (Wayland), a
    // window that belongs to another (a popover) is shown as a popup of it, placed relative to it.
    virtual bool windowsKeepTheirPlace() const = 0;
    // A surface of the session's own for an overlay, or nullptr: the overlay is then a Qt window.
    virtual std::unique_ptr<OverlaySurface> createOverlaySurface() = 0;
    // One of our Qt windows was shown: a session may mark it, so that no reading of the desktop takes it for
    // another application's.
    virtual void windowShown(QWindow& window) = 0;
    // One of our Qt windows belongs to another (a popover's): left out of the desktop's task bar and pager,
    // where a desktop lists such windows at all. Before each showing.
    virtual void keepOutOfTaskLists(QWindow& /*window*/) {}
    // Brings one of our Qt windows to the front with the keyboard, as the user asked for it just now.
    virtual void activate(QWindow& window) = 0;
    // A later launch handed over the token its launcher gave it: the next activation shows it.
    virtual void setActivationToken(const std::string& token) = 0;
    // Sends what Qt queued for the display at once: a fade's steps must not wait for the event loop to
    // go idle.
    virtual void sendQueuedRequests() = 0;
};

// The session Qt's platform runs in: nullptr and a one-line reason when Awning cannot run there.
struct SessionOpening {
    std::unique_ptr<DesktopSession> session;
    std::string problem;
};
SessionOpening openDesktopSession();

}  // namespace qthost
