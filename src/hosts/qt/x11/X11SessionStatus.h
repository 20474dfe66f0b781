#pragma once

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/x11/X11WindowList.h"

namespace qthost {

// What `awning --status` says of an X11 desktop: the window taken as the panel (or why none), whether a
// compositing manager runs, and what the checks asked of the X server. `finding` is the last list's, or
// nullptr when there is no X11 window list at all.
SessionStatus x11SessionStatus(const X11WindowList::Finding* finding);

}  // namespace qthost
