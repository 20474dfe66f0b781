#pragma once

#include <functional>

#include "hosts/qt/DesktopSession.h"

namespace qthost {

class GnomeShellPeer;

// The tint as Awning's GNOME Shell extension shows it: Awning paints the picture, the extension stretches
// it over the bar, which it follows on its own, and eases its opacity.
class GnomeOverlaySurface final : public OverlaySurface {
public:
    // `scale`: device pixels per point of the primary screen, asked at each painting.
    GnomeOverlaySurface(GnomeShellPeer& peer, std::function<double()> scale);
    ~GnomeOverlaySurface() override;

    void setGeometry(const PixelRect& geometry) override;
    void setPainter(std::function<kit::Bitmap(double scale)> paint) override;
    void contentDidChange() override;
    void setOpacity(double opacity, double fadeSeconds) override;
    void show() override;
    void hide() override;

private:
    void sendPicture();

    GnomeShellPeer& _peer;
    std::function<double()> _scale;
    std::function<kit::Bitmap(double)> _paint;
    PixelRect _geometry;
    bool _shown = false;
};

}  // namespace qthost
