#include "hosts/qt/x11/X11WindowList.h"

#include <xcb/xcb.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kit/foundation/Log.h"
#include "kit/quartz/WindowList.h"

namespace qthost {

namespace {

constexpr const char* awningMarker = "_AWNING_WINDOW";
// Longer properties than this (a client list of 64k windows) are cut short.
constexpr std::uint32_t maximumItems = 65536;
// Frames inside frames: no window manager nests deeper than a few levels.
constexpr int maximumFrameDepth = 8;

constexpr const char* noCompositorMessage =
    "No compositing manager runs, so the panel is not tinted (without one the tint would be a black strip). "
    "Start one, such as picom or xcompmgr, or turn on your window manager's own (xfwm4, marco, KWin and "
    "GNOME Shell composite): the tint then appears by itself.";

template <typename Reply>
struct Freed {
    void operator()(Reply* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, Freed<Reply>>;

// Waits for a reply; an error (the window is gone) gives none. Errors are taken here, never left queued.
template <typename Reply, typename Cookie>
ReplyPointer<Reply> take(xcb_connection_t* connection, Cookie cookie,
                         Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**), bool& failed) {
    xcb_generic_error_t* error = nullptr;
    ReplyPointer<Reply> result(reply(connection, cookie, &error));
    if (error) {
        std::free(error);
        failed = true;
    }
    return result;
}

using PropertyReply = ReplyPointer<xcb_get_property_reply_t>;

// The property's value when it has `type` (XCB_ATOM_ANY: any) and items of `format` bits.
const void* valueOf(const PropertyReply& reply, xcb_atom_t type, std::uint8_t format, std::size_t& count) {
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != format ||
        (type != XCB_ATOM_ANY && reply->type != type)) {
        return nullptr;
    }
    count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / (format / 8);
    return xcb_get_property_value(reply.get());
}

std::optional<std::vector<std::uint32_t>> longsOf(const PropertyReply& reply, xcb_atom_t type) {
    std::size_t count = 0;
    const auto* items = static_cast<const std::uint32_t*>(valueOf(reply, type, 32, count));
    if (!items) {
        return std::nullopt;
    }
    return std::vector<std::uint32_t>(items, items + count);
}

std::optional<std::uint32_t> longOf(const PropertyReply& reply, xcb_atom_t type) {
    const auto items = longsOf(reply, type);
    return items && !items->empty() ? std::optional(items->front()) : std::nullopt;
}

std::optional<std::string> bytesOf(const PropertyReply& reply, xcb_atom_t type) {
    std::size_t count = 0;
    const auto* bytes = static_cast<const char*>(valueOf(reply, type, 8, count));
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(bytes, count);
}

bool contains(const std::optional<std::vector<std::uint32_t>>& items, xcb_atom_t atom) {
    return items && std::find(items->begin(), items->end(), atom) != items->end();
}

std::string latin1ToUtf8(const std::string& text) {
    std::string utf8;
    for (const unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xc0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return utf8;
}

// WM_NAME as UTF-8: UTF8_STRING as it is, STRING from Latin-1. Compound text is taken only while it is plain
// ASCII: a title in other character sets reads as untitled rather than garbled.
std::string legacyNameOf(const PropertyReply& reply, xcb_atom_t utf8String) {
    const std::optional<std::string> text = bytesOf(reply, XCB_ATOM_ANY);
    if (!text) {
        return {};
    }
    if (reply->type == utf8String) {
        return *text;
    }
    if (reply->type == XCB_ATOM_STRING) {
        return latin1ToUtf8(*text);
    }
    const bool plain =
        std::all_of(text->begin(), text->end(), [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
    return plain ? *text : std::string();
}

// WM_CLASS holds the instance then the class, each ended by a NUL: the class, else the instance.
std::string classOf(const PropertyReply& reply) {
    const std::optional<std::string> hint = bytesOf(reply, XCB_ATOM_STRING);
    if (!hint) {
        return {};
    }
    const std::string instance = hint->substr(0, hint->find('\0'));
    const std::size_t classStart = instance.size() + 1;
    const std::string className =
        classStart < hint->size() ? hint->substr(classStart, hint->find('\0', classStart) - classStart) : "";
    return className.empty() ? instance : className;
}

}  // namespace

struct X11WindowList::Atoms {
    xcb_atom_t clientListStacking, supportingWmCheck, workArea, currentDesktop, wmName, utf8String,
        windowType, typeDock, typeDesktop, state, stateFullScreen, pid, awning, strutPartial, strut,
        windowManager, compositor, clientList;
};

std::unique_ptr<X11WindowList> X11WindowList::open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int index = 0; index < screenNumber && screens.rem; ++index) {
        xcb_screen_next(&screens);
    }
    const X11WindowId root = screens.data->root;
    const std::string screen = std::to_string(screenNumber);
    const std::string windowManager = "WM_S" + screen;
    const std::string compositor = "_NET_WM_CM_S" + screen;
    const std::array<const char*, 18> names{"_NET_CLIENT_LIST_STACKING",
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
                                            compositor.c_str(),
                                            "_NET_CLIENT_LIST"};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        cookies[index] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(names[index])),
                                         names[index]);
    }
    std::array<xcb_atom_t, names.size()> atoms{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        bool failed = false;
        const auto reply = take(connection, cookies[index], xcb_intern_atom_reply, failed);
        atoms[index] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    auto interned = std::make_unique<Atoms>(Atoms{
        atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7], atoms[8], atoms[9],
        atoms[10], atoms[11], atoms[12], atoms[13], atoms[14], atoms[15], atoms[16], atoms[17]});
    return std::unique_ptr<X11WindowList>(new X11WindowList(connection, root, std::move(interned)));
}

X11WindowList::X11WindowList(xcb_connection_t* connection, X11WindowId root, std::unique_ptr<Atoms> atoms)
    : _connection(connection), _root(root), _atoms(std::move(atoms)) {}

X11WindowList::~X11WindowList() {
    xcb_disconnect(_connection);
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
                                                   const Unmanaged& unmanaged,
                                                   const X11WindowChanges& changes) {
    const std::uint64_t requestsBefore = _requests;
    _model.invalidate(changes);
    if (_model.rootIsStale()) {
        _model.storeRoot(readRoot());
    }
    X11RootRecord root = _model.root();
    if (root.clientListStacking) {
        root.clientListStacking->insert(root.clientListStacking->end(), unmanaged.windows.begin(),
                                        unmanaged.windows.end());
    }
    root.recentlyMapped = unmanaged.recentlyMapped;
    root.screens = screens;
    root.scale = scale;
    const std::vector<X11WindowId>& order = stackingOrder(root);
    const std::vector<X11WindowId> toRead = _model.windowsToRead(order);
    // At rest nothing was read and the order stands: the model is left as it is.
    const bool changed = !toRead.empty() || root != _translatedRoot;
    if (changed) {
        _model.store(readWindows(toRead), order);
    }
    _lastFinding.requests = _requests - requestsBefore;
    if (_lastFinding.requests > 0) {
        _lastFinding.readingRequests = _lastFinding.requests;
        _lastFinding.windowsRead = toRead.size();
        _lastFinding.windowsKnown = _model.windowCount();
    }
    // Nothing changed, on the server or in the screens: the list stands too.
    if (changed || options != _translatedOptions) {
        const std::vector<X11WindowRecord> windows = _model.windows();
        _list = translateWindowList(root, windows, options);
        noteFinding(root, windows);
        _translatedRoot = std::move(root);
        _translatedOptions = options;
    }
    reportCompositing(_translatedRoot->compositing);
    return _list;
}

void X11WindowList::noteFinding(const X11RootRecord& root, const std::vector<X11WindowRecord>& windows) {
    _lastFinding.panel.reset();
    _lastFinding.panelFrame = 0;
    _lastFinding.reservedStrip = false;
    _lastFinding.compositing = root.compositing;
    const auto menuBar = std::find_if(_list.begin(), _list.end(), [](const kit::PropertyList& entry) {
        const kit::PropertyList* layer = entry.find(kit::WindowLayer);
        return layer && layer->integerValue() == menuBarLayer;
    });
    if (menuBar == _list.end()) {
        return;
    }
    const auto id = static_cast<X11WindowId>(menuBar->find(kit::WindowNumber)->integerValue().value_or(0));
    _lastFinding.reservedStrip = id == _root;
    _lastFinding.panelFrame = _model.frameOf(id);
    for (const X11WindowRecord& window : windows) {
        if (window.id == id) {
            _lastFinding.panel = window;
        }
    }
}

// Said once each time the compositor goes away, not at every check.
void X11WindowList::reportCompositing(bool compositing) {
    if (!compositing && !_reportedNoCompositor) {
        kit::log(noCompositorMessage);
    }
    _reportedNoCompositor = !compositing;
}

// Root properties are read whatever their declared type: tools that set them by hand write CARDINAL.
X11RootRecord X11WindowList::readRoot() {
    const auto property = [this](X11WindowId window, xcb_atom_t atom) {
        ++_requests;
        return xcb_get_property(_connection, 0, window, atom, XCB_ATOM_ANY, 0, maximumItems);
    };
    const auto owner = [this](xcb_atom_t selection) {
        ++_requests;
        return xcb_get_selection_owner(_connection, selection);
    };
    const auto managerOwner = owner(_atoms->windowManager);
    const auto compositorOwner = owner(_atoms->compositor);
    const auto check = property(_root, _atoms->supportingWmCheck);
    const auto stacking = property(_root, _atoms->clientListStacking);
    const auto mappingOrder = property(_root, _atoms->clientList);
    const auto desktop = property(_root, _atoms->currentDesktop);
    const auto areas = property(_root, _atoms->workArea);
    ++_requests;
    const auto tree = xcb_query_tree(_connection, _root);

    bool failed = false;
    X11RootRecord root;
    root.root = _root;
    const auto managerReply = take(_connection, managerOwner, xcb_get_selection_owner_reply, failed);
    root.windowManagerSelectionOwned = managerReply && managerReply->owner != XCB_WINDOW_NONE;
    const auto compositorReply = take(_connection, compositorOwner, xcb_get_selection_owner_reply, failed);
    root.compositing = compositorReply && compositorReply->owner != XCB_WINDOW_NONE;
    root.supportingWindowManagerCheck =
        longOf(take(_connection, check, xcb_get_property_reply, failed), XCB_ATOM_ANY);
    const auto stackingReply = take(_connection, stacking, xcb_get_property_reply, failed);
    const auto mappingOrderReply = take(_connection, mappingOrder, xcb_get_property_reply, failed);
    const auto desktopReply = take(_connection, desktop, xcb_get_property_reply, failed);
    const auto areasReply = take(_connection, areas, xcb_get_property_reply, failed);
    const auto treeReply = take(_connection, tree, xcb_query_tree_reply, failed);
    if (root.supportingWindowManagerCheck) {
        // An error here (the manager is gone) reads as absent.
        const auto named = property(*root.supportingWindowManagerCheck, _atoms->supportingWmCheck);
        root.checkWindowNames =
            longOf(take(_connection, named, xcb_get_property_reply, failed), XCB_ATOM_ANY);
    }
    if (windowManagerIsLive(root)) {
        const auto windows = [](const std::optional<std::vector<std::uint32_t>>& items) {
            return items ? std::optional(std::vector<X11WindowId>(items->begin(), items->end()))
                         : std::nullopt;
        };
        root.clientListStacking = managedWindows(windows(longsOf(stackingReply, XCB_ATOM_ANY)),
                                                 windows(longsOf(mappingOrderReply, XCB_ATOM_ANY)));
        std::size_t current = longOf(desktopReply, XCB_ATOM_ANY).value_or(0);
        const auto rectangles = longsOf(areasReply, XCB_ATOM_ANY);
        if (rectangles && rectangles->size() < (current + 1) * 4) {
            current = 0;  // some managers publish one area for all desktops
        }
        if (rectangles && rectangles->size() >= 4) {
            const auto* area = rectangles->data() + current * 4;
            root.workArea = PixelRect{static_cast<int>(area[0]), static_cast<int>(area[1]),
                                      static_cast<int>(area[2]), static_cast<int>(area[3])};
        }
    }
    if (!root.clientListStacking && treeReply) {
        const xcb_window_t* children = xcb_query_tree_children(treeReply.get());
        root.queryTree.assign(children, children + xcb_query_tree_children_length(treeReply.get()));
    }
    return root;
}

std::vector<X11WindowModel::Reading> X11WindowList::readWindows(const std::vector<X11WindowId>& windows) {
    struct Asked {
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_geometry_cookie_t geometry;
        xcb_translate_coordinates_cookie_t position;
        xcb_query_tree_cookie_t tree;
        xcb_get_property_cookie_t netName, name, windowClass, pid, types, state, marker, strutPartial, strut;
    };
    constexpr int requestsPerWindow = 13;
    std::vector<Asked> asked;
    asked.reserve(windows.size());
    for (const X11WindowId window : windows) {
        const auto property = [&](xcb_atom_t atom, xcb_atom_t type) {
            return xcb_get_property(_connection, 0, window, atom, type, 0, maximumItems);
        };
        asked.push_back(Asked{
            xcb_get_window_attributes(_connection, window), xcb_get_geometry(_connection, window),
            xcb_translate_coordinates(_connection, window, _root, 0, 0), xcb_query_tree(_connection, window),
            property(_atoms->wmName, _atoms->utf8String), property(XCB_ATOM_WM_NAME, XCB_ATOM_ANY),
            property(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING), property(_atoms->pid, XCB_ATOM_CARDINAL),
            property(_atoms->windowType, XCB_ATOM_ATOM), property(_atoms->state, XCB_ATOM_ATOM),
            property(_atoms->awning, XCB_ATOM_ANY), property(_atoms->strutPartial, XCB_ATOM_CARDINAL),
            property(_atoms->strut, XCB_ATOM_CARDINAL)});
        _requests += requestsPerWindow;
    }

    std::vector<X11WindowModel::Reading> readings;
    std::vector<X11WindowId> parents;
    for (std::size_t index = 0; index < windows.size(); ++index) {
        const Asked& a = asked[index];
        bool vanished = false;  // any error means it was destroyed while we asked
        const auto attributes = take(_connection, a.attributes, xcb_get_window_attributes_reply, vanished);
        const auto geometry = take(_connection, a.geometry, xcb_get_geometry_reply, vanished);
        const auto position = take(_connection, a.position, xcb_translate_coordinates_reply, vanished);
        const auto tree = take(_connection, a.tree, xcb_query_tree_reply, vanished);
        const auto netName = take(_connection, a.netName, xcb_get_property_reply, vanished);
        const auto name = take(_connection, a.name, xcb_get_property_reply, vanished);
        const auto windowClass = take(_connection, a.windowClass, xcb_get_property_reply, vanished);
        const auto pid = take(_connection, a.pid, xcb_get_property_reply, vanished);
        const auto types = take(_connection, a.types, xcb_get_property_reply, vanished);
        const auto state = take(_connection, a.state, xcb_get_property_reply, vanished);
        const auto marker = take(_connection, a.marker, xcb_get_property_reply, vanished);
        const auto strutPartial = take(_connection, a.strutPartial, xcb_get_property_reply, vanished);
        const auto strut = take(_connection, a.strut, xcb_get_property_reply, vanished);
        X11WindowModel::Reading& reading =
            readings.emplace_back(X11WindowModel::Reading{windows[index], {}, 0});
        parents.push_back(tree ? tree->parent : _root);
        if (vanished || !attributes || !geometry || !position) {
            continue;
        }
        X11WindowRecord record;
        record.id = windows[index];
        record.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                          attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
        record.overrideRedirect = attributes->override_redirect;
        record.bounds = PixelRect{position->dst_x, position->dst_y, geometry->width, geometry->height};
        record.name = bytesOf(netName, _atoms->utf8String).value_or("");
        if (record.name.empty()) {
            record.name = legacyNameOf(name, _atoms->utf8String);
        }
        record.owner = classOf(windowClass);
        record.processId = longOf(pid, XCB_ATOM_CARDINAL).value_or(0);
        const auto windowTypes = longsOf(types, XCB_ATOM_ATOM);
        record.dock = contains(windowTypes, _atoms->typeDock);
        record.desktop = contains(windowTypes, _atoms->typeDesktop);
        record.fullScreen = contains(longsOf(state, XCB_ATOM_ATOM), _atoms->stateFullScreen);
        record.awning = marker && marker->type != XCB_ATOM_NONE;
        if (record.dock) {
            // The partial form wins; both start left, right, top.
            auto struts = longsOf(strutPartial, XCB_ATOM_CARDINAL);
            if (!struts || struts->size() < 3) {
                struts = longsOf(strut, XCB_ATOM_CARDINAL);
            }
            record.topStrut = struts && struts->size() >= 3 ? static_cast<int>((*struts)[2]) : 0;
        }
        reading.record = std::move(record);
    }
    findFrames(readings, std::move(parents));
    return readings;
}

// Walks up from each window to the root's child that holds it, a level for all windows at a time: an event
// about that frame (a move) is then known to concern the window.
void X11WindowList::findFrames(std::vector<X11WindowModel::Reading>& readings,
                               std::vector<X11WindowId> parents) {
    for (std::size_t index = 0; index < readings.size(); ++index) {
        readings[index].frame = readings[index].id;
    }
    for (int depth = 0; depth < maximumFrameDepth; ++depth) {
        std::vector<std::pair<std::size_t, xcb_query_tree_cookie_t>> asked;
        for (std::size_t index = 0; index < readings.size(); ++index) {
            if (parents[index] == _root || parents[index] == XCB_WINDOW_NONE) {
                continue;
            }
            readings[index].frame = parents[index];
            ++_requests;
            asked.emplace_back(index, xcb_query_tree(_connection, parents[index]));
        }
        if (asked.empty()) {
            return;
        }
        for (const auto& [index, cookie] : asked) {
            bool failed = false;
            const auto tree = take(_connection, cookie, xcb_query_tree_reply, failed);
            parents[index] = tree ? tree->parent : _root;
        }
    }
}

}  // namespace qthost
