#include "hosts/qt/x11/WindowListTranslation.h"

#include <algorithm>
#include <unordered_map>

#include "kit/quartz/WindowList.h"

namespace qthost {

namespace {

using kit::PropertyList;

// The window server's layers for what we report.
constexpr int normalLayer = 0;
constexpr int dockLayer = 20;

std::optional<PixelRect> intersection(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    return PixelRect{left, top, right - left, bottom - top};
}

bool contains(const PixelRect& outer, const PixelRect& inner) {
    return outer.x <= inner.x && outer.y <= inner.y && outer.x + outer.width >= inner.x + inner.width &&
           outer.y + outer.height >= inner.y + inner.height;
}

// A horizontal bar over at most the primary screen's upper half, whose top edge lies on (or above) the
// screen's or at most its own height below it: panels may keep a margin from the edge.
bool isTopPanel(const X11WindowRecord& window, const PixelRect& primary) {
    if (!window.dock || !window.viewable) {
        return false;
    }
    const std::optional<PixelRect> visible = intersection(window.bounds, primary);
    return visible && window.bounds.y - primary.y <= visible->height &&
           visible->height * 2 <= primary.height && visible->width > visible->height;
}

// A window that bypasses the manager is a panel only when it looks like nothing else: along the very top
// edge, across most of the screen's width, low, and there for a while. Menus, tooltips and notifications are
// narrow, lower or brief.
bool isUnmanagedTopPanel(const X11WindowRecord& window, const X11RootRecord& root, const PixelRect& primary) {
    if (!window.overrideRedirect || !window.viewable ||
        std::find(root.recentlyMapped.begin(), root.recentlyMapped.end(), window.id) !=
            root.recentlyMapped.end()) {
        return false;
    }
    const std::optional<PixelRect> visible = intersection(window.bounds, primary);
    return visible && window.bounds.y <= primary.y && visible->width * 4 >= primary.width * 3 &&
           visible->height * 8 <= primary.height;
}

// A dock that reserves the top edge owns the reserved strip, wherever its monitor is: the work area, one
// rectangle for all monitors, cannot tell which one it belongs to.
bool aDockReservesTheTop(const std::vector<X11WindowRecord>& windows) {
    return std::any_of(windows.begin(), windows.end(), [](const X11WindowRecord& window) {
        return window.dock && window.viewable && window.topStrut > 0;
    });
}

bool coversPrimary(const X11WindowRecord& window, const PixelRect& primary) {
    if (!window.viewable || window.dock || window.desktop) {
        return false;
    }
    if (window.fullScreen) {
        return intersection(window.bounds, primary).has_value();
    }
    // Compositors' overlay windows cover the screen without being anyone's content: they have no class.
    return !window.owner.empty() && contains(window.bounds, primary);
}

// Desktops that draw their bar inside the compositor reserve its strip in the work area instead.
std::optional<PixelRect> reservedTopStrip(const X11RootRecord& root, const PixelRect& primary) {
    if (!windowManagerIsLive(root) || !root.workArea) {
        return std::nullopt;
    }
    const PixelRect& area = *root.workArea;
    const int height = area.y - primary.y;
    const bool overlapsHorizontally = area.x < primary.x + primary.width && primary.x < area.x + area.width;
    if (height <= 0 || height * 2 > primary.height || !overlapsHorizontally) {
        return std::nullopt;
    }
    return PixelRect{primary.x, primary.y, primary.width, height};
}

class EntryMaker {
public:
    explicit EntryMaker(const X11RootRecord& root)
        : _origin(root.screens.empty() ? PixelRect{} : root.screens.front()),
          _scale(root.scale > 0.0 ? root.scale : 1.0) {}

    PropertyList menuBar(X11WindowId id, const PixelRect& bounds) const {
        return PropertyList::Dictionary{
            {kit::WindowNumber, static_cast<std::int64_t>(id)},
            {kit::WindowLayer, menuBarLayer},
            {kit::WindowOwnerName, "Window Server"},
            {kit::WindowName, "Menubar"},
            {kit::WindowIsOnscreen, true},
            {kit::WindowBounds, points(bounds)},
        };
    }

    PropertyList window(const X11WindowRecord& window) const {
        PropertyList::Dictionary entry{
            {kit::WindowNumber, static_cast<std::int64_t>(window.id)},
            {kit::WindowLayer, window.dock ? dockLayer : normalLayer},
            {kit::WindowIsOnscreen, window.viewable},
            {kit::WindowBounds, points(window.bounds)},
        };
        if (!window.owner.empty()) {
            entry[kit::WindowOwnerName] = window.owner;
        }
        if (!window.name.empty()) {
            entry[kit::WindowName] = window.name;
        }
        if (window.processId > 0) {
            entry[kit::WindowOwnerPID] = window.processId;
        }
        return entry;
    }

private:
    PropertyList points(const PixelRect& rect) const {
        return kit::dictionaryRepresentation(kit::Rect((rect.x - _origin.x) / _scale,
                                                       (rect.y - _origin.y) / _scale, rect.width / _scale,
                                                       rect.height / _scale));
    }

    PixelRect _origin;
    double _scale;
};

std::vector<const X11WindowRecord*> frontToBack(const X11RootRecord& root,
                                                const std::vector<X11WindowRecord>& windows) {
    std::unordered_map<X11WindowId, const X11WindowRecord*> byId;
    for (const X11WindowRecord& window : windows) {
        byId.emplace(window.id, &window);
    }
    std::vector<const X11WindowRecord*> ordered;
    const std::vector<X11WindowId>& order = stackingOrder(root);
    for (auto id = order.rbegin(); id != order.rend(); ++id) {
        const auto found = byId.find(*id);
        if (found != byId.end() && !found->second->awning) {
            ordered.push_back(found->second);
        }
    }
    return ordered;
}

bool isListed(const X11WindowRecord& window, std::uint32_t options) {
    if ((options & kit::WindowListOptionOnScreenOnly) && !window.viewable) {
        return false;
    }
    return !((options & kit::WindowListExcludeDesktopElements) && window.desktop);
}

}  // namespace

bool windowManagerIsLive(const X11RootRecord& root) {
    return root.windowManagerSelectionOwned || (root.supportingWindowManagerCheck && root.checkWindowNames &&
                                                *root.checkWindowNames == *root.supportingWindowManagerCheck);
}

std::optional<std::vector<X11WindowId>> managedWindows(
    const std::optional<std::vector<X11WindowId>>& stacking,
    const std::optional<std::vector<X11WindowId>>& mapping) {
    if (!stacking || !mapping) {
        return stacking ? stacking : mapping;
    }
    std::vector<X11WindowId> stacked = *stacking;
    std::vector<X11WindowId> mapped = *mapping;
    std::sort(stacked.begin(), stacked.end());
    std::sort(mapped.begin(), mapped.end());
    return stacked == mapped ? stacking : mapping;
}

const std::vector<X11WindowId>& stackingOrder(const X11RootRecord& root) {
    if (windowManagerIsLive(root) && root.clientListStacking) {
        return *root.clientListStacking;
    }
    return root.queryTree;
}

PropertyList::Array translateWindowList(const X11RootRecord& root,
                                        const std::vector<X11WindowRecord>& windows, std::uint32_t options) {
    const std::vector<const X11WindowRecord*> ordered = frontToBack(root, windows);
    const EntryMaker make(root);
    const X11WindowRecord* panel = nullptr;
    std::optional<PixelRect> menuBarBounds;
    if (root.compositing && !root.screens.empty()) {
        const PixelRect& primary = root.screens.front();
        bool covered = false;
        for (const X11WindowRecord* window : ordered) {
            if (isTopPanel(*window, primary) || isUnmanagedTopPanel(*window, root, primary)) {
                panel = window;
                menuBarBounds = intersection(window->bounds, primary);
                break;
            }
            if (coversPrimary(*window, primary)) {
                covered = true;
                break;
            }
        }
        if (!panel && !covered && !aDockReservesTheTop(windows)) {
            menuBarBounds = reservedTopStrip(root, primary);
        }
    }

    PropertyList::Array list;
    if (menuBarBounds && !panel) {
        list.push_back(make.menuBar(root.root, *menuBarBounds));
    }
    for (const X11WindowRecord* window : ordered) {
        if (!isListed(*window, options)) {
            continue;
        }
        list.push_back(window == panel ? make.menuBar(window->id, *menuBarBounds) : make.window(*window));
    }
    return list;
}

}  // namespace qthost
