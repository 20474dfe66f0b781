#include "hosts/qt/wayland/FullScreenWatch.h"

#include <wayland-client.h>

#include <algorithm>
#include <utility>

#include "hosts/qt/wayland/WaylandConnection.h"
#include "hosts/qt/wayland/WaylandWindowListTranslation.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace qthost {

struct FullScreenWatch::Toplevel {
    FullScreenWatch* watch = nullptr;
    zwlr_foreign_toplevel_handle_v1* handle = nullptr;
    // What the compositor said since its last "done", and what holds since then.
    std::set<wl_output*> pendingOutputs;
    bool pendingFullScreen = false;
    bool pendingActivated = false;
    std::set<wl_output*> outputs;
    bool fullScreen = false;
    bool activated = false;
};

namespace {

using Toplevel = FullScreenWatch::Toplevel;

void onTitle(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void onAppId(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void onOutputEnter(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    static_cast<Toplevel*>(data)->pendingOutputs.insert(output);
}
void onOutputLeave(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    static_cast<Toplevel*>(data)->pendingOutputs.erase(output);
}
void onState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->pendingFullScreen = toplevel->pendingActivated = false;
    const auto* state = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t index = 0; index < states->size / sizeof(std::uint32_t); ++index) {
        toplevel->pendingFullScreen |= state[index] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN;
        toplevel->pendingActivated |= state[index] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
}
void onDone(void* data, zwlr_foreign_toplevel_handle_v1*) {
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->watch->toplevelDone(*toplevel);
}
void onClosed(void* data, zwlr_foreign_toplevel_handle_v1*) {
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->watch->toplevelClosed(*toplevel);
}
void onParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

const zwlr_foreign_toplevel_handle_v1_listener toplevelListener{onTitle, onAppId, onOutputEnter, onOutputLeave,
                                                                onState, onDone,  onClosed,      onParent};

void onToplevel(void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
    static_cast<FullScreenWatch*>(data)->toplevelAdded(handle);
}
void onFinished(void*, zwlr_foreign_toplevel_manager_v1*) {}

const zwlr_foreign_toplevel_manager_v1_listener managerListener{onToplevel, onFinished};

}  // namespace

FullScreenWatch::FullScreenWatch(WaylandConnection& connection, zwlr_foreign_toplevel_manager_v1* manager)
    : _connection(connection), _manager(manager) {
    zwlr_foreign_toplevel_manager_v1_add_listener(_manager, &managerListener, this);
}

FullScreenWatch::~FullScreenWatch() {
    for (const std::unique_ptr<Toplevel>& toplevel : _toplevels) {
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    }
    zwlr_foreign_toplevel_manager_v1_stop(_manager);
}

void FullScreenWatch::toplevelAdded(zwlr_foreign_toplevel_handle_v1* handle) {
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->watch = this;
    toplevel->handle = handle;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &toplevelListener, toplevel.get());
    _toplevels.push_back(std::move(toplevel));
}

void FullScreenWatch::toplevelDone(Toplevel& toplevel) {
    toplevel.outputs = toplevel.pendingOutputs;
    toplevel.fullScreen = toplevel.pendingFullScreen;
    toplevel.activated = toplevel.pendingActivated;
    noteCovered();
}

void FullScreenWatch::toplevelClosed(Toplevel& toplevel) {
    zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    std::erase_if(_toplevels, [&](const std::unique_ptr<Toplevel>& each) { return each.get() == &toplevel; });
    noteCovered();
}

std::set<std::string> FullScreenWatch::coveredOutputs() const {
    std::vector<ToplevelState> states;
    for (const std::unique_ptr<Toplevel>& toplevel : _toplevels) {
        ToplevelState state{toplevel->fullScreen, toplevel->activated, {}};
        for (const std::unique_ptr<WaylandOutput>& output : _connection.outputs()) {
            if (toplevel->outputs.contains(output->output)) {
                state.outputs.push_back(output->name);
            }
        }
        states.push_back(std::move(state));
    }
    return outputsCoveredByFullScreen(states);
}

void FullScreenWatch::noteCovered() {
    std::set<std::string> covered = coveredOutputs();
    if (covered != _covered) {
        _covered = std::move(covered);
        _changed = true;
    }
}

bool FullScreenWatch::covers(const std::string& output) const {
    return _covered.contains(output);
}

bool FullScreenWatch::takeChange() {
    return std::exchange(_changed, false);
}

}  // namespace qthost
