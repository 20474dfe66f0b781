#pragma once

namespace qthost {

// Sends what Qt has queued for the X server now. Qt flushes only when its event loop goes idle, so the steps
// of an animation would otherwise reach the server in one burst at its end. Nothing off X11.
void flushQtX11Connection();

}  // namespace qthost
