#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "hosts/qt/x11/WindowListTranslation.h"

namespace qthost {

// What the X server's events said changed since the last reading.
struct X11WindowChanges {
    bool root = false;          // a root property, or a manager came, went or was replaced
    bool rootChildren = false;  // the root's children were added, removed, mapped or restacked
    // Windows whose properties, geometry, mapping or parent changed: clients, or the frames holding them.
    // A set: a window dragged across the screen is named by hundreds of events between two checks.
    std::unordered_set<X11WindowId> windows;
};

// The top-level windows as last read, kept from one check to the next. Events name what changed, and only
// that is read again: a check at rest asks the server nothing, and one after a change asks only about the
// windows it touched, however many are open.
class X11WindowModel {
public:
    // A window as just read, with the root's child that holds it (its frame, or itself); no record when it
    // vanished while it was read.
    struct Reading {
        X11WindowId id = 0;
        std::optional<X11WindowRecord> record;
        X11WindowId frame = 0;
    };

    void invalidate(const X11WindowChanges& changes);
    bool rootIsStale() const { return !_root || _rootStale; }
    void storeRoot(X11RootRecord root);
    // As last read; only after a first storeRoot.
    const X11RootRecord& root() const { return *_root; }

    // The windows of `order` (the stacking order) never read, or changed since they were.
    std::vector<X11WindowId> windowsToRead(const std::vector<X11WindowId>& order) const;
    // Keeps what was just read and forgets every window no longer in `order`. A window that vanished while it
    // was read is kept as gone: a stale list may name it at every check, and it is not asked about again.
    void store(const std::vector<Reading>& readings, const std::vector<X11WindowId>& order);
    std::vector<X11WindowRecord> windows() const;
    std::size_t windowCount() const;
    // The root's child holding the window, as last read; 0 for a window never read.
    X11WindowId frameOf(X11WindowId window) const;

private:
    struct Entry {
        std::optional<X11WindowRecord> record;  // none for a listed window that is gone: not read again
        X11WindowId frame = 0;
    };

    bool readsTheTree() const;

    std::optional<X11RootRecord> _root;
    bool _rootStale = true;
    std::unordered_map<X11WindowId, Entry> _windows;
    std::unordered_map<X11WindowId, X11WindowId> _clientInFrame;
    std::unordered_set<X11WindowId> _stale;
};

}  // namespace qthost
