#include "hosts/qt/x11/X11DisplayProbe.h"

#include <X11/Xlib.h>

namespace qthost {

bool x11DisplayAnswers() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

}  // namespace qthost
