#pragma once

#include <QObject>
#include <memory>

#include "hosts/qt/DesktopSession.h"
#include "kit/core/Object.h"

namespace qthost {

class GnomeShellPeer;

// GNOME Shell on Wayland, whose top bar no client window can cover: Awning's shell extension draws the tint
// and tells where the bar is, whether it shows and whether the pointer is on it (so hover works here, as on
// X11). Awning's own windows are ordinary Wayland windows.
class GnomeSession final : public DesktopSession {
public:
    GnomeSession();
    ~GnomeSession() override;

    std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                       const std::vector<SessionScreen>& screens) override;
    int activeSpace() const override { return 0; }
    bool knowsPointer() const override { return true; }
    std::optional<PixelPoint> pointer() const override;
    SessionStatus status() const override;

    bool windowsKeepTheirPlace() const override { return false; }
    std::unique_ptr<OverlaySurface> createOverlaySurface() override;
    void windowShown(QWindow&) override {}
    void activate(QWindow& window) override;
    void setActivationToken(const std::string& token) override;
    void sendQueuedRequests() override {}

private:
    void stateDidChange();

    std::unique_ptr<GnomeShellPeer> _peer;
    std::string _reportedProblem;
    double _scale = 1.0;
    kit::Object _sender;  // of the notifications that run a check at once
    QObject _postings;    // ends the postings still queued with the session
};

}  // namespace qthost
