#pragma once

#include <cstdint>

namespace qthost {

// Xlib's default error handler exits the process, and windows vanish between our requests all the time: a
// BadWindow must only tell the reader that the window is gone. One handler serves every connection.
class X11ErrorHandler {
public:
    // Installs the counting handler in place of whatever was there; later calls do nothing.
    static void install();
    // Errors seen so far by any of our connections. A request with a reply reports its error before it
    // returns, so comparing counts around a round trip tells whether it failed.
    static std::uint64_t errorCount();
};

}  // namespace qthost
