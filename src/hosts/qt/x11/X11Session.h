#pragma once

#include <memory>

#include "hosts/qt/DesktopSession.h"

namespace qthost {

class WorkspaceMonitor;
class X11WindowList;

// An X11 desktop: the window list read from the X server over a connection of its own and kept by its
// events, which also post the workspace's notifications; our windows marked as ours, activated through the
// window manager and flushed at once. Without a reachable display there is no list and no events.
class X11Session final : public DesktopSession {
public:
    X11Session();
    ~X11Session() override;

    std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                       const std::vector<SessionScreen>& screens) override;
    int activeSpace() const override;
    bool knowsPointer() const override { return true; }
    SessionStatus status() const override;

    bool windowsKeepTheirPlace() const override { return true; }
    std::unique_ptr<OverlaySurface> createOverlaySurface() override { return nullptr; }
    void windowShown(QWindow& window) override;
    void keepOutOfTaskLists(QWindow& window) override;
    void activate(QWindow& window) override;
    void setActivationToken(const std::string&) override {}  // X11 stamps activations with a time instead
    void sendQueuedRequests() override;

private:
    static void rewriteOpacityOnceMapped(QWindow& window);
    std::unique_ptr<X11WindowList> _windowList;
    std::unique_ptr<WorkspaceMonitor> _workspace;
    std::vector<PixelRect> _screenPixels;  // kept between checks: a check at rest allocates nothing for them
};

}  // namespace qthost
