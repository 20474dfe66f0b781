#include "hosts/qt/x11/X11DesktopEvents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <array>
#include <string>
#include <unordered_set>
#include <utility>

#include "hosts/qt/x11/X11ErrorHandler.h"
#include "hosts/qt/x11/X11Properties.h"
#include "hosts/qt/x11/X11WindowHints.h"

namespace qthost {

namespace {

bool contains(const std::optional<std::vector<unsigned long>>& items, Atom atom) {
    return items && std::find(items->begin(), items->end(), atom) != items->end();
}

}  // namespace

struct X11DesktopEvents::Atoms {
    Atom currentDesktop, activeWindow, clientListStacking, supportingWmCheck, state, stateFullScreen,
        windowType, typeDock, opacity, windowManager, compositor, workArea, netWmName, pid, strut,
        strutPartial, awningMarker, clientList;
};

std::unique_ptr<X11DesktopEvents> X11DesktopEvents::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return nullptr;
    }
    X11ErrorHandler::install();
    const std::string screen = std::to_string(DefaultScreen(display));
    const std::string windowManager = "WM_S" + screen;
    const std::string compositor = "_NET_WM_CM_S" + screen;
    std::array<const char*, 18> names{"_NET_CURRENT_DESKTOP",
                                      "_NET_ACTIVE_WINDOW",
                                      "_NET_CLIENT_LIST_STACKING",
                                      "_NET_SUPPORTING_WM_CHECK",
                                      "_NET_WM_STATE",
                                      "_NET_WM_STATE_FULLSCREEN",
                                      "_NET_WM_WINDOW_TYPE",
                                      "_NET_WM_WINDOW_TYPE_DOCK",
                                      "_NET_WM_WINDOW_OPACITY",
                                      windowManager.c_str(),
                                      compositor.c_str(),
                                      "_NET_WORKAREA",
                                      "_NET_WM_NAME",
                                      "_NET_WM_PID",
                                      "_NET_WM_STRUT",
                                      "_NET_WM_STRUT_PARTIAL",
                                      "_AWNING_WINDOW",
                                      "_NET_CLIENT_LIST"};
    std::array<Atom, 18> atoms{};
    XInternAtoms(display, const_cast<char**>(names.data()), static_cast<int>(names.size()), False,
                 atoms.data());
    auto interned = std::make_unique<Atoms>(Atoms{
        atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7], atoms[8], atoms[9],
        atoms[10], atoms[11], atoms[12], atoms[13], atoms[14], atoms[15], atoms[16], atoms[17]});
    int fixesEventBase = 0;
    int fixesErrorBase = 0;
    if (!XFixesQueryExtension(display, &fixesEventBase, &fixesErrorBase)) {
        fixesEventBase = -1;
    }
    return std::unique_ptr<X11DesktopEvents>(
        new X11DesktopEvents(display, std::move(interned), fixesEventBase));
}

X11DesktopEvents::X11DesktopEvents(Display* display, std::unique_ptr<Atoms> atoms, int fixesEventBase)
    : _display(display),
      _atoms(std::move(atoms)),
      _fixesEventBase(fixesEventBase),
      _root(DefaultRootWindow(display)) {
    // Select first, then read: a change in between arrives as an event rather than being missed.
    XSelectInput(_display, _root, PropertyChangeMask | SubstructureNotifyMask);
    if (_fixesEventBase >= 0) {
        const unsigned long ownerChanges = XFixesSetSelectionOwnerNotifyMask |
                                           XFixesSelectionWindowDestroyNotifyMask |
                                           XFixesSelectionClientCloseNotifyMask;
        XFixesSelectSelectionInput(_display, _root, _atoms->windowManager, ownerChanges);
        XFixesSelectSelectionInput(_display, _root, _atoms->compositor, ownerChanges);
    }
    // The children first: a managed window among them (a manager that does not reparent) then keeps the
    // wider watch the managed windows get.
    watchRootChildren();
    Changes ignored;
    readRootProperties(ignored);
}

X11DesktopEvents::~X11DesktopEvents() {
    XCloseDisplay(_display);
}

int X11DesktopEvents::fileDescriptor() const {
    return ConnectionNumber(_display);
}

void X11DesktopEvents::drain() {
    Changes& changes = _pending;
    // Reading a property pulls any events that came meanwhile into Xlib's queue, where the descriptor no
    // longer shows them: go on until the queue stays empty.
    while (XPending(_display) > 0) {
        bool rootTouched = false;
        while (XPending(_display) > 0) {
            XEvent event;
            XNextEvent(_display, &event);
            handle(event, changes, rootTouched);
            noteWindowChange(event);
        }
        if (rootTouched) {
            readRootProperties(changes);
        }
    }
}

X11DesktopEvents::Changes X11DesktopEvents::takeChanges() {
    return std::exchange(_pending, Changes{});
}

X11WindowChanges X11DesktopEvents::takeWindowChanges() {
    return std::exchange(_windowChanges, X11WindowChanges{});
}

std::vector<X11WindowId> X11DesktopEvents::unmanagedWindows() const {
    std::vector<X11WindowId> windows;
    for (const Unmanaged& window : _unmanaged) {
        windows.push_back(window.id);
    }
    return windows;
}

std::vector<X11WindowId> X11DesktopEvents::recentlyMappedUnmanagedWindows(
    std::chrono::steady_clock::time_point now, std::chrono::steady_clock::duration settleTime) const {
    std::vector<X11WindowId> windows;
    for (const Unmanaged& window : _unmanaged) {
        if (window.mappedAt && now - *window.mappedAt < settleTime) {
            windows.push_back(window.id);
        }
    }
    return windows;
}

// What the window list reads: the root's properties and children, and each window's own properties, place
// and parent.
void X11DesktopEvents::noteWindowChange(const XEvent& event) {
    X11WindowChanges& changes = _windowChanges;
    switch (event.type) {
        case PropertyNotify: {
            const Atom atom = event.xproperty.atom;
            if (event.xproperty.window == _root) {
                changes.root |= atom == _atoms->clientListStacking || atom == _atoms->clientList ||
                                atom == _atoms->supportingWmCheck || atom == _atoms->currentDesktop ||
                                atom == _atoms->workArea;
            } else if (atom == XA_WM_NAME || atom == XA_WM_CLASS || atom == _atoms->netWmName ||
                       atom == _atoms->pid || atom == _atoms->windowType || atom == _atoms->state ||
                       atom == _atoms->strut || atom == _atoms->strutPartial ||
                       atom == _atoms->awningMarker) {
                changes.windows.insert(event.xproperty.window);
            }
            return;
        }
        case ConfigureNotify:
            changes.rootChildren |= event.xconfigure.event == _root;  // perhaps restacked
            changes.windows.insert(event.xconfigure.window);
            return;
        case MapNotify:
            changes.rootChildren |= event.xmap.event == _root;
            changes.windows.insert(event.xmap.window);
            return;
        case UnmapNotify:
            changes.rootChildren |= event.xunmap.event == _root;
            changes.windows.insert(event.xunmap.window);
            return;
        case ReparentNotify:
            changes.rootChildren |= event.xreparent.event == _root;
            changes.windows.insert(event.xreparent.window);
            return;
        case CreateNotify:
        case DestroyNotify:
            changes.rootChildren = true;
            return;
        default:
            // The window manager's or compositor's selection changed hands.
            changes.root |= _fixesEventBase >= 0 && event.type == _fixesEventBase + XFixesSelectionNotify;
            return;
    }
}

void X11DesktopEvents::handle(const XEvent& event, Changes& changes, bool& rootTouched) {
    changes.panelRestacked |= restacksThePanel(event);
    // The panel moving or resizing, managed or not (a window manager reports only the docks it manages):
    // sliding away and back, it is followed step by step.
    changes.panelMoved |= event.type == ConfigureNotify && isPanelWindow(event.xconfigure.window);
    if (_fixesEventBase >= 0 && event.type == _fixesEventBase + XFixesSelectionNotify) {
        changes.managers = true;
        return;
    }
    if (event.type == PropertyNotify && event.xproperty.window == _root) {
        const Atom atom = event.xproperty.atom;
        rootTouched |= atom == _atoms->currentDesktop || atom == _atoms->activeWindow ||
                       atom == _atoms->clientListStacking || atom == _atoms->clientList;
        changes.managers |= atom == _atoms->supportingWmCheck;
        // A dock that quit frees its strip only once the manager publishes the new work area.
        changes.menuBarMayHaveMoved |= atom == _atoms->workArea;
        return;
    }
    // A new top-level window may cover the panel before any manager lists it, or with none running. Menus
    // and tooltips bypass the manager: they are let be.
    if (event.type == MapNotify && event.xmap.event == _root) {
        changes.menuBarMayHaveMoved |= !event.xmap.override_redirect;
        if (event.xmap.override_redirect) {
            forgetUnmanaged(event.xmap.window);
            _unmanaged.push_back(Unmanaged{event.xmap.window, std::chrono::steady_clock::now()});
        }
        return;
    }
    // Its properties are watched from its creation: without a window manager, or bypassing it, a panel is
    // such a child.
    if (event.type == CreateNotify && event.xcreatewindow.parent == _root) {
        XSelectInput(_display, event.xcreatewindow.window, PropertyChangeMask);
        return;
    }
    if (event.type == UnmapNotify && event.xunmap.event == _root) {
        forgetUnmanaged(event.xunmap.window);
    } else if (event.type == DestroyNotify && event.xdestroywindow.event == _root) {
        forgetUnmanaged(event.xdestroywindow.window);
    }
    const auto watched = _watched.find(event.xany.window);
    if (watched == _watched.end()) {
        return;
    }
    switch (event.type) {
        case PropertyNotify:
            if (event.xproperty.atom == _atoms->state) {
                const bool fullScreen = readFullScreen(watched->first);
                changes.menuBarMayHaveMoved |= fullScreen != watched->second.fullScreen;
                watched->second.fullScreen = fullScreen;
            }
            break;
        case ConfigureNotify:
        case MapNotify:
        case UnmapNotify:
            changes.menuBarMayHaveMoved |= watched->second.dock;
            break;
        case DestroyNotify:
            _watched.erase(watched);
            break;
        default:
            break;
    }
}

// The panel handed back to the root (its window manager quit), mapped, or restacked by itself or the
// manager: it may now lie over our tint, which nothing else raises. Taken into a new frame (a manager that
// replaced another), it shows only when that frame is mapped: the frame is watched from then on, rather than
// from the next check, which was up to a period late (xfwm4 --replace left the bar untinted for 0.3-2 s).
bool X11DesktopEvents::restacksThePanel(const XEvent& event) {
    unsigned long window = 0;
    switch (event.type) {
        case ConfigureNotify:
            window = event.xconfigure.window;
            break;
        case MapNotify:
            window = event.xmap.window;
            break;
        case ReparentNotify:
            if (event.xreparent.parent != _root) {
                if (isPanelWindow(event.xreparent.window) && !isPanelWindow(event.xreparent.parent)) {
                    _panelWindows.push_back(event.xreparent.parent);
                }
                return false;
            }
            window = event.xreparent.window;
            break;
        default:
            return false;
    }
    return isPanelWindow(window);
}

bool X11DesktopEvents::isPanelWindow(unsigned long window) const {
    return std::find(_panelWindows.begin(), _panelWindows.end(), window) != _panelWindows.end();
}

// Read whatever type was written: tools and window managers differ.
void X11DesktopEvents::readRootProperties(Changes& changes) {
    const int desktop =
        static_cast<int>(readLong(_display, _root, _atoms->currentDesktop, AnyPropertyType).value_or(0));
    changes.currentDesktop |= desktop != _currentDesktop;
    _currentDesktop = desktop;
    const unsigned long window = readLong(_display, _root, _atoms->activeWindow, AnyPropertyType).value_or(0);
    changes.activeWindow |= window != _activeWindow;
    _activeWindow = window;
    const std::size_t watchedBefore = _watched.size();
    watchManagedWindows();
    changes.menuBarMayHaveMoved |= _watched.size() != watchedBefore;
}

// Each managed window is watched from the moment it is listed; only its dock type and full-screen state are
// kept, read once then updated from events.
void X11DesktopEvents::watchManagedWindows() {
    // Both lists: a manager that replaced another may leave the old one's stacking list in place (xfwm4
    // does).
    std::vector<unsigned long> listed =
        readLongs(_display, _root, _atoms->clientListStacking, AnyPropertyType)
            .value_or(std::vector<unsigned long>{});
    const std::vector<unsigned long> mapped = readLongs(_display, _root, _atoms->clientList, AnyPropertyType)
                                                  .value_or(std::vector<unsigned long>{});
    listed.insert(listed.end(), mapped.begin(), mapped.end());
    const std::unordered_set<unsigned long> current(listed.begin(), listed.end());
    std::erase_if(_watched, [&](const auto& entry) { return !current.contains(entry.first); });
    for (unsigned long window : listed) {
        if (_watched.contains(window)) {
            continue;
        }
        XSelectInput(_display, window, PropertyChangeMask | StructureNotifyMask);
        const bool dock =
            contains(readLongs(_display, window, _atoms->windowType, XA_ATOM), _atoms->typeDock);
        _watched.emplace(window, Watched{dock, readFullScreen(window)});
    }
}

// Once, at start: later, creation, map and unmap events keep the list and the watch.
void X11DesktopEvents::watchRootChildren() {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(_display, _root, &rootReturn, &parent, &children, &count)) {
        return;
    }
    for (unsigned int index = 0; index < count; ++index) {
        XSelectInput(_display, children[index], PropertyChangeMask);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(_display, children[index], &attributes) && attributes.override_redirect &&
            attributes.map_state == IsViewable) {
            _unmanaged.push_back(Unmanaged{children[index], std::nullopt});
        }
    }
    if (children) {
        XFree(children);
    }
}

void X11DesktopEvents::forgetUnmanaged(unsigned long window) {
    std::erase_if(_unmanaged, [window](const Unmanaged& unmanaged) { return unmanaged.id == window; });
}

bool X11DesktopEvents::readFullScreen(unsigned long window) const {
    return contains(readLongs(_display, window, _atoms->state, XA_ATOM), _atoms->stateFullScreen);
}

void X11DesktopEvents::rewriteOpacity(const std::vector<unsigned long>& windows) {
    for (unsigned long window : windows) {
        qthost::rewriteOpacity(_display, window);
    }
}

}  // namespace qthost
