#include "hosts/qt/x11/X11WindowModel.h"

#include <algorithm>

namespace qthost {

void X11WindowModel::invalidate(const X11WindowChanges& changes) {
    _rootStale |= changes.root || (changes.rootChildren && readsTheTree());
    for (X11WindowId window : changes.windows) {
        if (_windows.contains(window)) {
            _stale.insert(window);
        } else if (const auto client = _clientInFrame.find(window); client != _clientInFrame.end()) {
            _stale.insert(client->second);  // the frame moved, and the client with it
        }
    }
}

// Without a manager's list the order is the root's children: any change among them is a change of order.
bool X11WindowModel::readsTheTree() const {
    return !_root || &stackingOrder(*_root) == &_root->queryTree;
}

void X11WindowModel::storeRoot(X11RootRecord root) {
    _root = std::move(root);
    _rootStale = false;
}

std::vector<X11WindowId> X11WindowModel::windowsToRead(const std::vector<X11WindowId>& order) const {
    std::vector<X11WindowId> toRead;
    for (X11WindowId window : order) {
        if (!_windows.contains(window) || _stale.contains(window)) {
            toRead.push_back(window);
        }
    }
    return toRead;
}

void X11WindowModel::store(const std::vector<Reading>& readings, const std::vector<X11WindowId>& order) {
    for (const Reading& reading : readings) {
        _stale.erase(reading.id);
        _windows.insert_or_assign(reading.id, Entry{reading.record, reading.frame});
    }
    const std::unordered_set<X11WindowId> listed(order.begin(), order.end());
    std::erase_if(_windows, [&](const auto& entry) { return !listed.contains(entry.first); });
    std::erase_if(_stale, [&](X11WindowId window) { return !listed.contains(window); });
    _clientInFrame.clear();
    for (const auto& [id, entry] : _windows) {
        if (entry.frame != id) {
            _clientInFrame.emplace(entry.frame, id);
        }
    }
}

std::size_t X11WindowModel::windowCount() const {
    return static_cast<std::size_t>(std::count_if(
        _windows.begin(), _windows.end(), [](const auto& entry) { return entry.second.record.has_value(); }));
}

X11WindowId X11WindowModel::frameOf(X11WindowId window) const {
    const auto found = _windows.find(window);
    return found == _windows.end() ? 0 : found->second.frame;
}

std::vector<X11WindowRecord> X11WindowModel::windows() const {
    std::vector<X11WindowRecord> records;
    records.reserve(_windows.size());
    for (const auto& [id, entry] : _windows) {
        if (entry.record) {
            records.push_back(*entry.record);
        }
    }
    return records;
}

}  // namespace qthost
