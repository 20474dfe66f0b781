#pragma once

// Reading window properties with Xlib. Only X11 sources include this: Xlib's macros clash with Qt.

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace qthost {

// A property of 32-bit items of `type` (AnyPropertyType: any type); nullopt when it is absent, of another
// type, or the window is gone.
std::optional<std::vector<unsigned long>> readLongs(Display* display, Window window, Atom property,
                                                    Atom type);
// The first item of such a property.
std::optional<unsigned long> readLong(Display* display, Window window, Atom property, Atom type);
// A property of 8-bit items of `type`, as bytes.
std::optional<std::string> readBytes(Display* display, Window window, Atom property, Atom type);
// The window's title in UTF-8: _NET_WM_NAME, else WM_NAME in whatever encoding it uses; empty when untitled.
std::string readWindowName(Display* display, Window window, Atom netWmName, Atom utf8String);
// WM_CLASS's class name, else its instance name; empty without WM_CLASS.
std::string readWindowClass(Display* display, Window window);

}  // namespace qthost
