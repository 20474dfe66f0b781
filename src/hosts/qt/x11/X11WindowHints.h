#pragma once

#include "hosts/qt/x11/WindowListTranslation.h"

struct _XDisplay;

namespace qthost {

// What the desktop reads about our own windows beyond what Qt writes. Over the connection that made the
// window, so that each request reaches the server after Qt's own.

// A popover belongs to the window it points into: task bars and pagers leave it out
// (_NET_WM_STATE_SKIP_TASKBAR and _SKIP_PAGER, added to what the state holds). Before each mapping: a window
// manager drops the state of a window withdrawn.
void keepOutOfTaskLists(_XDisplay* display, X11WindowId window);

// Writes the window's opacity property again as it stands: a compositing manager that starts drawing a window,
// or that just started, reads its opacity only from a change it sees (MATE's marco drew a tint made again at
// full strength while the property said 0.2). Nothing for a window without the property.
void rewriteOpacity(_XDisplay* display, X11WindowId window);

// When to write it again after a map or a compositing manager's arrival, in milliseconds: marco missed a
// change made while it was still taking the window in.
inline constexpr int opacitySettleDelaysMs[] = {250, 1000};

}  // namespace qthost
