#include "DemoPanel.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <unistd.h>
#include <cstdio>
#include <vector>

DemoPanel::DemoPanel(const Options& options) : _options(options), _display(XOpenDisplay(nullptr)) {}

DemoPanel::~DemoPanel() {
    if (_display == nullptr) {
        return;
    }
    if (_window != 0) {
        XDestroyWindow(_display, _window);
    }
    XCloseDisplay(_display);
}

int DemoPanel::connectionFd() const {
    return ConnectionNumber(_display);
}

unsigned long DemoPanel::atom(const char* name) const {
    return XInternAtom(_display, name, False);
}

unsigned long DemoPanel::allocatePixel() const {
    XColor color{};
    color.red = static_cast<unsigned short>(((_options.color >> 16) & 0xff) * 257);
    color.green = static_cast<unsigned short>(((_options.color >> 8) & 0xff) * 257);
    color.blue = static_cast<unsigned short>((_options.color & 0xff) * 257);
    const int screen = DefaultScreen(_display);
    if (XAllocColor(_display, DefaultColormap(_display, screen), &color) == 0) {
        return WhitePixel(_display, screen);
    }
    return color.pixel;
}

void DemoPanel::setAtomList(const char* property, std::initializer_list<const char*> values) {
    std::vector<Atom> atoms;
    for (const char* value : values) {
        atoms.push_back(atom(value));
    }
    XChangeProperty(_display, _window, atom(property), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
}

void DemoPanel::setCardinals(const char* property, std::initializer_list<long> values) {
    // Xlib wants format-32 data as an array of long, whatever the width of long.
    const std::vector<long> data(values);
    XChangeProperty(_display, _window, atom(property), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void DemoPanel::setProperties() {
    XStoreName(_display, _window, _options.fullscreen ? "Demo Full Screen" : "Demo Panel");
    XClassHint classHint{};
    char resName[] = "awning-demo-panel";
    char resClass[] = "AwningDemoPanel";
    classHint.res_name = resName;
    classHint.res_class = resClass;
    XSetClassHint(_display, _window, &classHint);
    // Placed where asked: a window manager would otherwise choose a free place.
    XSizeHints position{};
    position.flags = USPosition | PPosition;
    XSetWMNormalHints(_display, _window, &position);
    setCardinals("_NET_WM_PID", {static_cast<long>(getpid())});
    if (_options.fullscreen || _options.normal) {
        setAtomList("_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_NORMAL"});
        if (_options.fullscreen) {
            setAtomList("_NET_WM_STATE", {"_NET_WM_STATE_FULLSCREEN"});
        }
        return;
    }
    setAtomList("_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DOCK"});
    setAtomList("_NET_WM_STATE", {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY"});
    setCardinals("_NET_WM_DESKTOP", {0xffffffffL});
    reserveStrip();
}

void DemoPanel::reserveStrip() {
    const long top = _options.y + _height;
    setCardinals("_NET_WM_STRUT", {0, 0, top, 0});
    setCardinals("_NET_WM_STRUT_PARTIAL",
                 {0, 0, top, 0, 0, 0, 0, 0, _options.x, _options.x + _width - 1, 0, 0});
}

void DemoPanel::show() {
    const int screen = DefaultScreen(_display);
    _width = _options.width > 0 && !_options.fullscreen ? _options.width : DisplayWidth(_display, screen);
    const int x = _options.fullscreen ? 0 : _options.x;
    const int y = _options.fullscreen ? 0 : _options.y;
    _height = _options.fullscreen ? DisplayHeight(_display, screen) : _options.height;

    XSetWindowAttributes attributes{};
    attributes.background_pixel = allocatePixel();
    attributes.event_mask = ButtonPressMask | StructureNotifyMask;
    attributes.override_redirect = _options.overrideRedirect;
    _window = XCreateWindow(_display, RootWindow(_display, screen), x, y, static_cast<unsigned>(_width),
                            static_cast<unsigned>(_height), 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWEventMask | CWOverrideRedirect, &attributes);
    setProperties();
    XMapWindow(_display, _window);

    XEvent event;
    do {
        XWindowEvent(_display, _window, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
}

void DemoPanel::toggleHeight() {
    if (_options.fullscreen || _options.normal) {
        return;
    }
    _height = _height == _options.height ? _options.tallHeight : _options.height;
    XResizeWindow(_display, _window, static_cast<unsigned>(_width), static_cast<unsigned>(_height));
    reserveStrip();
    XSync(_display, False);
}

void DemoPanel::dispatchEvents() {
    while (XPending(_display) > 0) {
        XEvent event;
        XNextEvent(_display, &event);
        if (event.type == ButtonPress) {
            std::printf("click %d %d\n", event.xbutton.x_root, event.xbutton.y_root);
            std::fflush(stdout);
        }
    }
}
