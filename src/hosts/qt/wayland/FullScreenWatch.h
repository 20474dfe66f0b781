#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

struct wl_output;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

namespace qthost {

class WaylandConnection;

// Which outputs a full-screen window covers, from the compositor's list of toplevel windows (wlr foreign
// toplevel management): the one the user works in (activated) and full screen. Needed where the tint lies in
// the overlay layer, which is drawn above full-screen windows too.
class FullScreenWatch {
public:
    FullScreenWatch(WaylandConnection& connection, zwlr_foreign_toplevel_manager_v1* manager);
    ~FullScreenWatch();
    FullScreenWatch(const FullScreenWatch&) = delete;
    FullScreenWatch& operator=(const FullScreenWatch&) = delete;

    // Whether the output named `output` is covered.
    bool covers(const std::string& output) const;
    // True once after each change of what is covered.
    bool takeChange();

    // --- For the protocol's callbacks
    struct Toplevel;
    void toplevelAdded(zwlr_foreign_toplevel_handle_v1* handle);
    void toplevelDone(Toplevel& toplevel);
    void toplevelClosed(Toplevel& toplevel);

private:
    std::set<std::string> coveredOutputs() const;
    void noteCovered();

    WaylandConnection& _connection;
    zwlr_foreign_toplevel_manager_v1* _manager;
    std::vector<std::unique_ptr<Toplevel>> _toplevels;
    std::set<std::string> _covered;
    bool _changed = false;
};

}  // namespace qthost
