#include "hosts/qt/wayland/WaylandSession.h"

#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <fstream>

#include "hosts/qt/wayland/FullScreenWatch.h"
#include "hosts/qt/wayland/TintSurface.h"
#include "hosts/qt/wayland/UsableAreaProbe.h"
#include "hosts/qt/wayland/WaylandConnection.h"
#include "kit/foundation/NotificationCenter.h"

namespace qthost {

namespace {

// A panel claims its room before it shows: the tint is made anew once more when it will have shown.
constexpr int panelShowsWithinMs = 1000;

// The protocols the tint needs or uses, in the order `--status` names them.
constexpr const char* protocolsUsed[] = {"zwlr_layer_shell_v1", "xdg_wm_base", "zwlr_foreign_toplevel_manager_v1",
                                         "wl_output", "wl_shm", "wl_compositor", "xdg_activation_v1"};

std::string processName(int process) {
    std::ifstream file("/proc/" + std::to_string(process) + "/comm");
    std::string name;
    std::getline(file, name);
    return name;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SessionOpening WaylandSession::open() {
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::connect();
    if (!connection) {
        const std::string display = environment("WAYLAND_DISPLAY");
        return {nullptr, "Awning cannot reach the Wayland compositor at \"" +
                             (display.empty() ? std::string("wayland-0") : display) + "\"."};
    }
    if (!connection->layerShell() || !connection->compositor() || !connection->shm()) {
        const std::optional<int> process = connection->compositorProcess();
        const std::string name = process ? processName(*process) : "";
        return {nullptr, "Awning needs the layer-shell protocol (zwlr_layer_shell_v1) to lay its tint over the "
                         "panel, and this compositor" +
                             (name.empty() ? std::string() : " (" + name + ")") + " does not offer it."};
    }
    std::unique_ptr<WaylandSession> session(new WaylandSession(std::move(connection)));
    return {std::move(session), {}};
}

WaylandSession::WaylandSession(std::unique_ptr<WaylandConnection> connection)
    : _connection(std::move(connection)) {
    // A change of the panels stands for a switch of space: the menu bar is checked at once.
    _postChange.setSingleShot(true);
    _postChange.setInterval(0);
    QObject::connect(&_postChange, &QTimer::timeout, [this] {
        kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification, &_sender);
    });
    if (zwlr_foreign_toplevel_manager_v1* manager = _connection->toplevelManager()) {
        _fullScreen = std::make_unique<FullScreenWatch>(*_connection, manager);
    }
    _mapTintsAgain.setSingleShot(true);
    _mapTintsAgain.setInterval(panelShowsWithinMs);
    QObject::connect(&_mapTintsAgain, &QTimer::timeout, [this] { mapTintsAgain(); });
    followOutputs();
    // The probes' sizes, then their popups' places: the first check already sees the panels.
    _connection->roundtrip();
    _connection->roundtrip();
    for (const std::unique_ptr<UsableAreaProbe>& probe : _probes) {
        probe->takeChange();
    }
    if (_fullScreen) {
        _fullScreen->takeChange();
    }
    _connection->setEventsHandled([this] { eventsHandled(); });
}

WaylandSession::~WaylandSession() {
    _connection->setEventsHandled(nullptr);
    _probes.clear();
    _fullScreen.reset();
}

bool WaylandSession::followOutputs() {
    const auto& outputs = _connection->outputs();
    const std::size_t before = _probes.size();
    std::erase_if(_probes, [&](const std::unique_ptr<UsableAreaProbe>& probe) {
        return std::none_of(outputs.begin(), outputs.end(),
                            [&](const auto& output) { return output.get() == &probe->output(); });
    });
    bool changed = _probes.size() != before;
    for (const std::unique_ptr<WaylandOutput>& output : outputs) {
        const bool probed = std::any_of(_probes.begin(), _probes.end(),
                                        [&](const auto& probe) { return &probe->output() == output.get(); });
        if (!probed) {
            _probes.push_back(std::make_unique<UsableAreaProbe>(*_connection, *output));
            changed = true;
        }
    }
    return changed;
}

void WaylandSession::eventsHandled() {
    bool changed = followOutputs();
    for (const std::unique_ptr<UsableAreaProbe>& probe : _probes) {
        changed = probe->takeChange() || changed;
    }
    if (changed && !tintsInOverlayLayer()) {
        // A panel that came back may be stacked over the tint: at once, and once it will have shown.
        mapTintsAgain();
        _mapTintsAgain.start();
    }
    for (TintSurface* tint : _tints) {
        tint->placementMayHaveChanged();
    }
    // Full screen ends or begins a menu bar without a change of the panels' room.
    changed = (_fullScreen && _fullScreen->takeChange()) || changed;
    if (changed) {
        _postChange.start();
    }
}

void WaylandSession::mapTintsAgain() {
    for (TintSurface* tint : _tints) {
        tint->mapAgain();
    }
    _connection->flush();
}

std::vector<OutputArea> WaylandSession::areas() const {
    std::vector<OutputArea> areas;
    for (const std::unique_ptr<UsableAreaProbe>& probe : _probes) {
        areas.push_back(probe->area());
        areas.back().fullScreen = _fullScreen && _fullScreen->covers(areas.back().output);
    }
    return areas;
}

std::optional<kit::PropertyList::Array> WaylandSession::windowList(std::uint32_t,
                                                                   const std::vector<SessionScreen>& screens) {
    if (_connection->isBroken()) {
        return std::nullopt;
    }
    if (screens != _screens) {
        _screens = screens;
        for (TintSurface* tint : _tints) {
            tint->placementMayHaveChanged();
        }
    }
    return translateWaylandWindowList(_screens, areas());
}

std::optional<LayerPlacement> WaylandSession::place(const PixelRect& geometry) const {
    return placeOverlay(geometry, _screens, areas());
}

std::unique_ptr<OverlaySurface> WaylandSession::createOverlaySurface() {
    return std::make_unique<TintSurface>(*this, *_connection);
}

void WaylandSession::adopt(TintSurface& tint) {
    _tints.push_back(&tint);
}

void WaylandSession::forget(TintSurface& tint) {
    std::erase(_tints, &tint);
}

void WaylandSession::activate(QWindow& window) {
    // Qt's Wayland platform activates with the token it finds here, and takes it out again; without one the
    // compositor may only mark the window as asking for attention.
    if (!_activationToken.empty()) {
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(_activationToken));
        _activationToken.clear();
    }
    window.requestActivate();
}

SessionStatus WaylandSession::status() const {
    SessionStatus status;
    status.panel.push_back(compositorLine());
    for (const std::string& line : panelLines()) {
        status.panel.push_back(line);
    }
    const TintSurface* shown = nullptr;
    for (const TintSurface* tint : _tints) {
        if (tint->isMapped()) {
            shown = tint;
        }
    }
    const std::string layer = tintsInOverlayLayer() ? ", overlay layer (full screen from the window list)"
                                                    : ", top layer";
    status.desktop.push_back("Tint surface: " + (shown ? shown->description() + layer : "none"));
    status.desktop.push_back(protocolsLine());
    status.desktop.push_back(
        "Hover: not known (Wayland tells no application where the pointer is while it lets the clicks through; "
        "the tint stays at the idle opacity)");
    status.checkCost = "nothing asked of the compositor";
    if (shown) {
        status.tint = shown->geometry();
        status.tintOpacity = shown->shownOpacity();
    }
    return status;
}

std::string WaylandSession::compositorLine() const {
    const std::optional<int> process = _connection->compositorProcess();
    const std::string name = process ? processName(*process) : "";
    return "Compositor: " + (name.empty() ? std::string("unknown") : name) +
           (process ? ", process " + std::to_string(*process) : "") +
           (_connection->isBroken() ? " (connection lost)" : "");
}

std::vector<std::string> WaylandSession::panelLines() const {
    std::vector<std::string> lines;
    for (const std::unique_ptr<UsableAreaProbe>& probe : _probes) {
        const OutputArea& area = probe->area();
        const std::string output = area.output.empty() ? std::string("the output") : area.output;
        const std::string size = std::to_string(area.width) + "x" + std::to_string(area.height);
        const int top = reservedTop(area);
        const int bottom = area.height - area.usableHeight - area.usableTop.value_or(area.height - area.usableHeight);
        if (top > 0) {
            lines.push_back("Panel: " + std::to_string(top) + " px reserved at the top of " + output + " (" + size +
                            (area.usableTop ? ")" : "; which edge is not told, taken as the top)"));
        } else if (bottom > 0) {
            lines.push_back("Panel: none at the top of " + output + " (" + size + "; " + std::to_string(bottom) +
                            " px reserved at its bottom)");
        } else {
            lines.push_back("Panel: none at the top of " + output + " (" + size +
                            "; a panel that reserves no room cannot be seen on Wayland)");
        }
    }
    if (lines.empty()) {
        lines.push_back("Panel: none (the compositor lists no output)");
    }
    return lines;
}

std::string WaylandSession::protocolsLine() const {
    std::string line = "Protocols:";
    for (const char* protocol : protocolsUsed) {
        const std::uint32_t version = _connection->offeredVersion(protocol);
        line += std::string(line.back() == ':' ? " " : ", ") + protocol +
                (version ? " " + std::to_string(version) : " missing");
    }
    return line;
}

}  // namespace qthost
