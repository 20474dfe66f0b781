#pragma once

#include "kit/appkit/WindowPeer.h"

namespace kit {
class Window;
}

namespace headless {

class HeadlessHost;

// Keeps no pixels of its own: it records what the window did, and tests render the window's layers
// when they want to look at it.
class HeadlessWindowPeer final : public kit::WindowPeer {
public:
    HeadlessWindowPeer(HeadlessHost& host, kit::Window& window);
    ~HeadlessWindowPeer() override;

    void frameDidChange() override;
    void levelDidChange() override;
    void alphaDidChange(double fadeDuration) override;
    void didOrderFront() override;
    void didBecomeKey() override;
    void didClose() override;
    void contentDidChange() override;
    void titleDidChange() override;
    void contentViewDidChange() override;
    void viewDidChange(kit::View& view) override;

private:
    HeadlessHost& _host;
    kit::Window& _window;
};

}  // namespace headless
