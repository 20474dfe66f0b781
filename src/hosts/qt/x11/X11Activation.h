#pragma once

#include "hosts/qt/x11/WindowListTranslation.h"

struct _XDisplay;

namespace qthost {

// Brings one of our top-level windows to the front with the keyboard, as the user asked for it now. Qt
// stamps its own request with the time of the last event it saw, which the X server or the window
// manager refuses once another client has taken the focus since: a window shown again for a second
// launch would stay behind. A running window manager gets _NET_ACTIVE_WINDOW as from the user's own tools
// (source 2, which it honours without weighing focus stealing); without one, the window is raised and
// focused directly. Over the connection that made the window, after its map request.
void activateX11Window(_XDisplay* display, X11WindowId window);

}  // namespace qthost
