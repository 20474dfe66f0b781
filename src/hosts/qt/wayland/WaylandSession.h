#pragma once

#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/wayland/WaylandWindowListTranslation.h"
#include "kit/core/Object.h"

namespace qthost {

class FullScreenWatch;
class TintSurface;
class UsableAreaProbe;
class WaylandConnection;

// A Wayland compositor with the layer-shell protocol (sway, KDE Plasma, Hyprland, labwc, wayfire...). Qt's
// own windows run on its native platform; the tint is a layer surface of ours over the top panel, on a
// connection of our own. What the compositor tells of the panels is the rows they reserve on each output,
// which probes follow live: a top reservation stands for the menu bar, and a change of it asks for a check at
// once. No protocol tells a client where the pointer is while its clicks go through, so hover is not known.
class WaylandSession final : public DesktopSession {
public:
    // The session, or why Awning cannot tint on this compositor.
    static SessionOpening open();
    ~WaylandSession() override;

    std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                       const std::vector<SessionScreen>& screens) override;
    int activeSpace() const override { return 0; }
    bool knowsPointer() const override { return false; }
    SessionStatus status() const override;

    bool windowsKeepTheirPlace() const override { return false; }
    std::unique_ptr<OverlaySurface> createOverlaySurface() override;
    void windowShown(QWindow&) override {}
    void activate(QWindow& window) override;
    void setActivationToken(const std::string& token) override { _activationToken = token; }
    void sendQueuedRequests() override {}

    // --- For the tint surfaces
    std::optional<LayerPlacement> place(const PixelRect& geometry) const;
    // Where the compositor tells which windows are full screen, the tint lies in the overlay layer, above
    // panels whatever their age, and steps aside for full screen itself; elsewhere in the top layer, under
    // full-screen windows, made anew after the panels change (KWin stacks the surface shown last on top).
    bool tintsInOverlayLayer() const { return _fullScreen != nullptr; }
    void adopt(TintSurface& tint);
    void forget(TintSurface& tint);

private:
    explicit WaylandSession(std::unique_ptr<WaylandConnection> connection);
    void eventsHandled();
    void mapTintsAgain();
    // Probes for the outputs there are now; true when one came or went.
    bool followOutputs();
    std::vector<OutputArea> areas() const;
    std::vector<std::string> panelLines() const;
    std::string compositorLine() const;
    std::string protocolsLine() const;

    std::unique_ptr<WaylandConnection> _connection;
    std::vector<std::unique_ptr<UsableAreaProbe>> _probes;
    std::unique_ptr<FullScreenWatch> _fullScreen;  // where the compositor lists its windows
    std::vector<TintSurface*> _tints;
    std::vector<SessionScreen> _screens;  // as the last check saw them
    std::string _activationToken;
    QTimer _postChange;   // one check for a burst of changes, run from the event loop
    QTimer _mapTintsAgain;  // once a panel that claimed its room has had time to show
    kit::Object _sender;  // the notifications come from somewhere: observers may filter by sender
};

}  // namespace qthost
