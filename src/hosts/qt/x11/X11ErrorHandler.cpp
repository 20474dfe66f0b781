#include "hosts/qt/x11/X11ErrorHandler.h"

#include <X11/Xlib.h>

namespace qthost {

namespace {

std::uint64_t errorsSeen = 0;

int countError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

}  // namespace

void X11ErrorHandler::install() {
    static const bool installed = (XSetErrorHandler(countError), true);
    (void)installed;
}

std::uint64_t X11ErrorHandler::errorCount() {
    return errorsSeen;
}

}  // namespace qthost
