#include "hosts/headless/HeadlessWindowPeer.h"

#include "hosts/headless/HeadlessHost.h"
#include "kit/appkit/Window.h"
#include "kit/core/Host.h"

namespace headless {

using Kind = WindowEvent::Kind;

HeadlessWindowPeer::HeadlessWindowPeer(HeadlessHost& host, kit::Window& window)
    : _host(host), _window(window) {
    _host.record(Kind::Created, _window);
}

HeadlessWindowPeer::~HeadlessWindowPeer() {
    // The host may already be gone when a window outlives a test's world.
    if (kit::hasHost() && &kit::host() == &_host) {
        _host.record(Kind::Destroyed, _window);
    }
}

void HeadlessWindowPeer::frameDidChange() {
    _host.record(Kind::FrameChanged, _window);
}
void HeadlessWindowPeer::levelDidChange() {
    _host.record(Kind::LevelChanged, _window);
}
void HeadlessWindowPeer::alphaDidChange(double fadeDuration) {
    _host.record(Kind::AlphaChanged, _window, fadeDuration);
}
void HeadlessWindowPeer::didOrderFront() {
    _host.record(Kind::OrderedFront, _window);
}
void HeadlessWindowPeer::didBecomeKey() {
    _host.record(Kind::BecameKey, _window);
}
void HeadlessWindowPeer::didClose() {
    _host.record(Kind::Closed, _window);
}
void HeadlessWindowPeer::contentDidChange() {
    _host.record(Kind::Redrawn, _window);
}
void HeadlessWindowPeer::titleDidChange() {
    _host.recordShownStateChange(_window);
}
void HeadlessWindowPeer::contentViewDidChange() {
    _host.recordShownStateChange(_window);
}
void HeadlessWindowPeer::viewDidChange(kit::View& view) {
    _host.recordShownStateChange(view);
}

}  // namespace headless
