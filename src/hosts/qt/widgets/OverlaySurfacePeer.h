#pragma once

#include <memory>

#include "hosts/qt/DesktopSession.h"
#include "kit/appkit/WindowPeer.h"

namespace kit {
class Window;
}  // namespace kit

namespace qthost {

class ScreenCoordinates;

// Presents an overlay (a borderless window that ignores the mouse) through a surface the desktop session
// presents on its own: its frame, opacity (with fades), visibility and the rendering of its layers. An
// overlay has no widgets, so views, titles and keys mean nothing here.
class OverlaySurfacePeer final : public kit::WindowPeer {
public:
    OverlaySurfacePeer(kit::Window& window, std::unique_ptr<OverlaySurface> surface,
                       const ScreenCoordinates& coordinates);

    void frameDidChange() override;
    void levelDidChange() override {}
    void alphaDidChange(double fadeDuration) override;
    void didOrderFront() override;
    void didBecomeKey() override {}
    void didClose() override;
    void contentDidChange() override;
    void titleDidChange() override {}
    void contentViewDidChange() override;
    void viewDidChange(kit::View&) override {}

private:
    kit::Bitmap render(double scale) const;

    kit::Window& _window;
    std::unique_ptr<OverlaySurface> _surface;
    const ScreenCoordinates& _coordinates;
};

}  // namespace qthost
