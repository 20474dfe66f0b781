#pragma once

#include <QPropertyAnimation>
#include <memory>

#include "hosts/qt/LayerWidget.h"
#include "kit/appkit/WindowPeer.h"

namespace kit {
class Window;
}

namespace qthost {

class QtHost;

// Presents one kit window as a top-level Qt window. A borderless window that ignores the mouse is an
// overlay: frameless, click-through, never focused, outside the window manager's control and translucent,
// painted from the window's layers.
class QtWindowPeer final : public kit::WindowPeer {
public:
    QtWindowPeer(QtHost& host, kit::Window& window);
    ~QtWindowPeer() override;

    void frameDidChange() override;
    void levelDidChange() override;
    void alphaDidChange(double fadeDuration) override;
    void didOrderFront() override;
    void didBecomeKey() override;
    void didClose() override;
    void contentDidChange() override;

    LayerWidget& widget() { return *_widget; }
    bool isFading() const { return _fade.state() == QAbstractAnimation::Running; }

private:
    static Qt::WindowFlags windowFlags(const kit::Window& window);
    void render();
    void markAsOwnWindow();

    QtHost& _host;
    kit::Window& _window;
    std::unique_ptr<LayerWidget> _widget;
    QPropertyAnimation _fade;
};

}  // namespace qthost
