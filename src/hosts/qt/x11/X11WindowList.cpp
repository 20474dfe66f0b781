#include "hosts/qt/x11/X11WindowList.h"

#include "kit/quartz/WindowList.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <array>
#include <string>

#include "hosts/qt/x11/X11ErrorHandler.h"
#include "hosts/qt/x11/X11Properties.h"
#include "kit/foundation/Log.h"

namespace qthost {

namespace {

constexpr const char* awningMarker = "_AWNING_WINDOW";

bool contains(const std::optional<std::vector<unsigned long>>& items, Atom atom) {
    return items && std::find(items->begin(), items->end(), atom) != items->end();
}

constexpr const char* noCompositorMessage =
    "No compositing manager runs, so the panel is not tinted (without one the tint would be a black strip). "
    "Start one, such as picom or xcompmgr, or turn on your window manager's own (xfwm4, marco, KWin and "
    "GNOME Shell composite): the tint then appears by itself.";

std::string perScreen(const char* prefix, int screen) {
    return prefix + std::to_string(screen);
}

}  // namespace

struct X11WindowList::Atoms {
    Atom clientListStacking, supportingWmCheck, workArea, currentDesktop, wmName, utf8String, windowType,
        typeDock, typeDesktop, state, stateFullScreen, pid, awning, strutPartial, strut, windowManager,
        compositor;
};

std::unique_ptr<X11WindowList> X11WindowList::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return nullptr;
    }
    X11ErrorHandler::install();
    const std::string windowManager = perScreen("WM_S", DefaultScreen(display));
    const std::string compositor = perScreen("_NET_WM_CM_S", DefaultScreen(display));
    std::array<const char*, 17> names{"_NET_CLIENT_LIST_STACKING",
                                      "_NET_SUPPORTING_WM_CHECK",
                                      "_NET_WORKAREA",
                                      "_NET_CURRENT_DESKTOP",
                                      "_NET_WM_NAME",
                                      "UTF8_STRING",
                                      "_NET_WM_WINDOW_TYPE",
                                      "_NET_WM_WINDOW_TYPE_DOCK",
                                      "_NET_WM_WINDOW_TYPE_DESKTOP",
                                      "_NET_WM_STATE",
                                      "_NET_WM_STATE_FULLSCREEN",
                                      "_NET_WM_PID",
                                      awningMarker,
                                      "_NET_WM_STRUT_PARTIAL",
                                      "_NET_WM_STRUT",
                                      windowManager.c_str(),
                                      compositor.c_str()};
    std::array<Atom, 17> atoms{};
    XInternAtoms(display, const_cast<char**>(names.data()), static_cast<int>(names.size()), False,
                 atoms.data());
    auto interned = std::make_unique<Atoms>(
        Atoms{atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7], atoms[8],
              atoms[9], atoms[10], atoms[11], atoms[12], atoms[13], atoms[14], atoms[15], atoms[16]});
    return std::unique_ptr<X11WindowList>(new X11WindowList(display, std::move(interned)));
}

X11WindowList::X11WindowList(Display* display, std::unique_ptr<Atoms> atoms)
    : _display(display), _atoms(std::move(atoms)), _root(DefaultRootWindow(display)) {}

X11WindowList::~X11WindowList() {
    XCloseDisplay(_display);
}

void X11WindowList::markAsAwningWindow(Display* display, X11WindowId window) {
    if (!display || !window) {
        return;
    }
    static const Atom marker = XInternAtom(display, awningMarker, False);
    const unsigned char value[4] = {1, 0, 0, 0};
    XChangeProperty(display, window, marker, XA_CARDINAL, 8, PropModeReplace, value, 1);
    XFlush(display);
}

kit::PropertyList::Array X11WindowList::windowList(std::uint32_t options,
                                                   const std::vector<PixelRect>& screens, double scale,
                                                   const std::vector<X11WindowId>& unmanaged,
                                                   bool windowsChanged) {
    const unsigned long requestsBefore = XNextRequest(_display);
    const bool reread = windowsChanged || !_lastReading || _lastReading->options != options;
    if (reread) {
        _lastReading = read(options, unmanaged);
    }
    _lastFinding.requests = XNextRequest(_display) - requestsBefore;
    // Nothing changed, on the server or in the screens: the list stands too, and a check costs the same
    // whatever the number of windows.
    if (reread || _lastReading->root.screens != screens || _lastReading->root.scale != scale) {
        _lastReading->root.screens = screens;
        _lastReading->root.scale = scale;
        _lastReading->list = translateWindowList(_lastReading->root, _lastReading->windows, options);
        noteFinding(_lastReading->list);
    }
    reportCompositing(_lastReading->root.compositing);
    return _lastReading->list;
}

void X11WindowList::noteFinding(const kit::PropertyList::Array& list) {
    _lastFinding = Finding{std::nullopt, false, _lastReading->root.compositing, _lastFinding.requests};
    const auto menuBar = std::find_if(list.begin(), list.end(), [](const kit::PropertyList& entry) {
        const kit::PropertyList* layer = entry.find(kit::WindowLayer);
        return layer && layer->integerValue() == menuBarLayer;
    });
    if (menuBar == list.end()) {
        return;
    }
    const auto id = static_cast<X11WindowId>(menuBar->find(kit::WindowNumber)->integerValue().value_or(0));
    _lastFinding.reservedStrip = id == _root;
    for (const X11WindowRecord& window : _lastReading->windows) {
        if (window.id == id) {
            _lastFinding.panel = window;
        }
    }
}

X11WindowList::Reading X11WindowList::read(std::uint32_t options,
                                           const std::vector<X11WindowId>& unmanaged) const {
    Reading reading{options, readRoot(), {}, {}};
    X11RootRecord& root = reading.root;
    if (root.clientListStacking) {
        root.clientListStacking->insert(root.clientListStacking->end(), unmanaged.begin(), unmanaged.end());
    }
    const bool onScreenOnly = options & kit::WindowListOptionOnScreenOnly;
    for (X11WindowId window : stackingOrder(root)) {
        if (std::optional<X11WindowRecord> record = describe(window, onScreenOnly)) {
            reading.windows.push_back(std::move(*record));
        }
    }
    return reading;
}

// Said once each time the compositor goes away, not at every check.
void X11WindowList::reportCompositing(bool compositing) {
    if (!compositing && !_reportedNoCompositor) {
        kit::log(noCompositorMessage);
    }
    _reportedNoCompositor = !compositing;
}

// Root properties are read whatever their declared type: tools that set them by hand write CARDINAL.
X11RootRecord X11WindowList::readRoot() const {
    X11RootRecord root;
    root.root = _root;
    root.windowManagerSelectionOwned = XGetSelectionOwner(_display, _atoms->windowManager) != None;
    root.compositing = XGetSelectionOwner(_display, _atoms->compositor) != None;
    root.supportingWindowManagerCheck = readLong(_display, _root, _atoms->supportingWmCheck, AnyPropertyType);
    if (root.supportingWindowManagerCheck) {
        // A BadWindow here (the manager is gone) reaches the counting handler and reads as absent.
        root.checkWindowNames = readLong(_display, *root.supportingWindowManagerCheck,
                                         _atoms->supportingWmCheck, AnyPropertyType);
    }
    if (windowManagerIsLive(root)) {
        root.clientListStacking = readLongs(_display, _root, _atoms->clientListStacking, AnyPropertyType);
        unsigned long desktop =
            readLong(_display, _root, _atoms->currentDesktop, AnyPropertyType).value_or(0);
        const auto areas = readLongs(_display, _root, _atoms->workArea, AnyPropertyType);
        if (areas && areas->size() < (desktop + 1) * 4) {
            desktop = 0;  // some managers publish one area for all desktops
        }
        if (areas && areas->size() >= 4) {
            const auto* area = areas->data() + desktop * 4;
            root.workArea = PixelRect{static_cast<int>(area[0]), static_cast<int>(area[1]),
                                      static_cast<int>(area[2]), static_cast<int>(area[3])};
        }
    }
    if (!root.clientListStacking) {
        root.queryTree = queryTree();
    }
    return root;
}

std::vector<X11WindowId> X11WindowList::queryTree() const {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(_display, _root, &rootReturn, &parent, &children, &count)) {
        return {};
    }
    std::vector<X11WindowId> windows(children, children + count);
    if (children) {
        XFree(children);
    }
    return windows;
}

std::optional<X11WindowRecord> X11WindowList::describe(X11WindowId window, bool onScreenOnly) const {
    const std::uint64_t errorsBefore = X11ErrorHandler::errorCount();
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(_display, window, &attributes)) {
        return std::nullopt;
    }
    X11WindowRecord record;
    record.id = window;
    record.viewable = attributes.map_state == IsViewable && attributes.c_class == InputOutput;
    record.overrideRedirect = attributes.override_redirect;
    if (!record.viewable && onScreenOnly) {
        return record;  // left out of the list anyway: spare the round trips
    }
    Window child = 0;
    if (!XTranslateCoordinates(_display, window, _root, 0, 0, &record.bounds.x, &record.bounds.y, &child)) {
        return std::nullopt;
    }
    record.bounds.width = attributes.width;
    record.bounds.height = attributes.height;
    record.name = readWindowName(_display, window, _atoms->wmName, _atoms->utf8String);
    record.owner = readWindowClass(_display, window);
    record.processId =
        static_cast<std::int64_t>(readLong(_display, window, _atoms->pid, XA_CARDINAL).value_or(0));
    const auto types = readLongs(_display, window, _atoms->windowType, XA_ATOM);
    record.dock = contains(types, _atoms->typeDock);
    if (record.dock) {
        record.topStrut = readTopStrut(window);
    }
    record.desktop = contains(types, _atoms->typeDesktop);
    record.fullScreen =
        contains(readLongs(_display, window, _atoms->state, XA_ATOM), _atoms->stateFullScreen);
    record.awning = readBytes(_display, window, _atoms->awning, AnyPropertyType).has_value();
    if (X11ErrorHandler::errorCount() != errorsBefore) {
        return std::nullopt;  // it vanished while we read it
    }
    return record;
}

// The partial form wins; both start left, right, top.
int X11WindowList::readTopStrut(X11WindowId window) const {
    auto struts = readLongs(_display, window, _atoms->strutPartial, XA_CARDINAL);
    if (!struts || struts->size() < 3) {
        struts = readLongs(_display, window, _atoms->strut, XA_CARDINAL);
    }
    return struts && struts->size() >= 3 ? static_cast<int>((*struts)[2]) : 0;
}

}  // namespace qthost
