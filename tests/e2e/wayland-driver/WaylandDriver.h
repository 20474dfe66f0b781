#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct org_kde_kwin_fake_input;
struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct xdg_activation_v1;
struct xdg_wm_base;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

// A client of the compositor at $WAYLAND_DISPLAY that acts as the user's hand: it moves the pointer, clicks,
// drags (with Shift where the compositor lets a client press keys), asks for activation tokens and shows a
// full-screen window.
class WaylandDriver {
public:
    // nullptr, and a line on standard error, when no compositor answers.
    static std::unique_ptr<WaylandDriver> connect();
    ~WaylandDriver();

    // Points of the first output, from its top left.
    bool move(int x, int y);
    bool press(bool down);
    bool shift(bool down);
    // A new token, as a launcher asks for one for the application it starts.
    std::optional<std::string> activationToken();
    // Maps a full-screen window of one colour and keeps it until the process ends; false when it cannot.
    bool showFullScreenWindow(std::uint32_t rgb);
    void roundtrip();

    // --- For the protocol's callbacks
    void globalAdded(std::uint32_t name, const char* interface, std::uint32_t version);
    void outputSize(int width, int height) { _outputWidth = width, _outputHeight = height; }
    void outputScale(int scale) { _outputScale = scale; }
    wl_display* display() const { return _display; }
    wl_shm* shm() const { return _shm; }

private:
    explicit WaylandDriver(wl_display* display);
    bool ensurePointer();

    wl_display* _display;
    wl_registry* _registry = nullptr;
    wl_compositor* _compositor = nullptr;
    wl_shm* _shm = nullptr;
    wl_seat* _seat = nullptr;
    wl_output* _output = nullptr;
    xdg_wm_base* _wmBase = nullptr;
    xdg_activation_v1* _activation = nullptr;
    zwlr_virtual_pointer_manager_v1* _pointerManager = nullptr;
    zwlr_virtual_pointer_v1* _pointer = nullptr;
    org_kde_kwin_fake_input* _fakeInput = nullptr;
    int _outputWidth = 0;
    int _outputHeight = 0;
    int _outputScale = 1;
};
