#include "WaylandDriver.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

std::uint32_t milliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void onGlobal(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
    static_cast<WaylandDriver*>(data)->globalAdded(name, interface, version);
}
void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                const char*, const char*, std::int32_t) {}
void onMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        static_cast<WaylandDriver*>(data)->outputSize(width, height);
    }
}
void onDone(void*, wl_output*) {}
void onScale(void* data, wl_output*, std::int32_t scale) {
    static_cast<WaylandDriver*>(data)->outputScale(scale);
}
const wl_output_listener outputListener{onGeometry, onMode, onDone, onScale, nullptr, nullptr};

void onPing(void*, xdg_wm_base* base, std::uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}
const xdg_wm_base_listener wmBaseListener{onPing};

void onToken(void* data, xdg_activation_token_v1*, const char* token) {
    *static_cast<std::optional<std::string>*>(data) = token;
}
const xdg_activation_token_v1_listener tokenListener{onToken};

// The full-screen window: painted in its colour at every size the compositor gives it.
struct Window {
    WaylandDriver* driver = nullptr;
    wl_surface* surface = nullptr;
    std::uint32_t argb = 0;
    int width = 0;
    int height = 0;
    bool sized = false;  // the compositor chose a size
    bool shown = false;
};

wl_buffer* solidBuffer(wl_shm* shm, int width, int height, std::uint32_t argb) {
    const std::size_t size = static_cast<std::size_t>(width) * height * 4;
    const int file = memfd_create("awning-driver", MFD_CLOEXEC);
    if (file < 0 || ftruncate(file, static_cast<off_t>(size)) != 0) {
        return nullptr;
    }
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (memory == MAP_FAILED) {
        close(file);
        return nullptr;
    }
    auto* pixels = static_cast<std::uint32_t*>(memory);
    std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, argb);
    munmap(memory, size);
    wl_shm_pool* pool = wl_shm_create_pool(shm, file, static_cast<std::int32_t>(size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(file);
    return buffer;
}

void onToplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
    auto* window = static_cast<Window*>(data);
    window->sized = width > 0 && height > 0;
    window->width = window->sized ? width : 640;
    window->height = window->sized ? height : 480;
}
void onToplevelClose(void*, xdg_toplevel*) {}
void onConfigureBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void onCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener{onToplevelConfigure, onToplevelClose, onConfigureBounds,
                                             onCapabilities};

void onSurfaceConfigure(void* data, xdg_surface* shell, std::uint32_t serial) {
    auto* window = static_cast<Window*>(data);
    xdg_surface_ack_configure(shell, serial);
    if (wl_buffer* buffer = solidBuffer(window->driver->shm(), window->width, window->height, window->argb)) {
        wl_surface_attach(window->surface, buffer, 0, 0);
        wl_surface_damage(window->surface, 0, 0, window->width, window->height);
    }
    wl_surface_commit(window->surface);
    if (window->sized && !window->shown) {
        window->shown = true;
        std::printf("ready %dx%d\n", window->width, window->height);
        std::fflush(stdout);
    }
}
const xdg_surface_listener surfaceListener{onSurfaceConfigure};

}  // namespace

std::unique_ptr<WaylandDriver> WaylandDriver::connect() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland compositor answers\n");
        return nullptr;
    }
    std::unique_ptr<WaylandDriver> driver(new WaylandDriver(display));
    driver->roundtrip();
    driver->roundtrip();
    return driver;
}

WaylandDriver::WaylandDriver(wl_display* display) : _display(display) {
    _registry = wl_display_get_registry(_display);
    wl_registry_add_listener(_registry, &registryListener, this);
}

WaylandDriver::~WaylandDriver() {
    if (_pointer) {
        zwlr_virtual_pointer_v1_destroy(_pointer);
    }
    wl_display_roundtrip(_display);
    // Disconnecting frees no proxy: each global bound goes by hand, or the sanitizers report them.
    const std::initializer_list<void*> globals{_fakeInput, _pointerManager, _activation, _wmBase, _output,
                                                _seat, _shm, _compositor, _registry};
    for (void* global : globals) {
        if (global) {
            wl_proxy_destroy(static_cast<wl_proxy*>(global));
        }
    }
    wl_display_disconnect(_display);
}

void WaylandDriver::roundtrip() {
    wl_display_roundtrip(_display);
}

void WaylandDriver::globalAdded(std::uint32_t name, const char* interface, std::uint32_t version) {
    const std::string_view kind(interface);
    const auto bind = [&](const wl_interface& type, std::uint32_t wanted) {
        return wl_registry_bind(_registry, name, &type, std::min(version, wanted));
    };
    if (kind == wl_compositor_interface.name) {
        _compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
    } else if (kind == wl_shm_interface.name) {
        _shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
    } else if (kind == wl_seat_interface.name && !_seat) {
        _seat = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
    } else if (kind == wl_output_interface.name && !_output) {
        _output = static_cast<wl_output*>(bind(wl_output_interface, 2));
        wl_output_add_listener(_output, &outputListener, this);
    } else if (kind == xdg_wm_base_interface.name) {
        _wmBase = static_cast<xdg_wm_base*>(bind(xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(_wmBase, &wmBaseListener, this);
    } else if (kind == xdg_activation_v1_interface.name) {
        _activation = static_cast<xdg_activation_v1*>(bind(xdg_activation_v1_interface, 1));
    } else if (kind == zwlr_virtual_pointer_manager_v1_interface.name) {
        _pointerManager =
            static_cast<zwlr_virtual_pointer_manager_v1*>(bind(zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (kind == org_kde_kwin_fake_input_interface.name) {
        _fakeInput = static_cast<org_kde_kwin_fake_input*>(bind(org_kde_kwin_fake_input_interface, 4));
        org_kde_kwin_fake_input_authenticate(_fakeInput, "awning-wayland-driver", "end-to-end tests");
    }
}

bool WaylandDriver::ensurePointer() {
    if (!_pointer && _pointerManager) {
        _pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(_pointerManager, _seat);
    }
    return _pointer || _fakeInput;
}

bool WaylandDriver::move(int x, int y) {
    if (!ensurePointer()) {
        std::fprintf(stderr, "the compositor offers no way to move the pointer\n");
        return false;
    }
    if (_pointer) {
        const int scale = _outputScale > 0 ? _outputScale : 1;
        zwlr_virtual_pointer_v1_motion_absolute(_pointer, milliseconds(), static_cast<std::uint32_t>(x),
                                                static_cast<std::uint32_t>(y),
                                                static_cast<std::uint32_t>(_outputWidth / scale),
                                                static_cast<std::uint32_t>(_outputHeight / scale));
        zwlr_virtual_pointer_v1_frame(_pointer);
    } else {
        org_kde_kwin_fake_input_pointer_motion_absolute(_fakeInput, wl_fixed_from_int(x), wl_fixed_from_int(y));
    }
    roundtrip();
    return true;
}

bool WaylandDriver::press(bool down) {
    if (!ensurePointer()) {
        return false;
    }
    const std::uint32_t state = down ? 1 : 0;
    if (_pointer) {
        zwlr_virtual_pointer_v1_button(_pointer, milliseconds(), BTN_LEFT, state);
        zwlr_virtual_pointer_v1_frame(_pointer);
    } else {
        org_kde_kwin_fake_input_button(_fakeInput, BTN_LEFT, state);
    }
    roundtrip();
    return true;
}

bool WaylandDriver::shift(bool down) {
    if (!_fakeInput) {
        std::fprintf(stderr, "the compositor lets no client press keys here (use wtype on wlroots)\n");
        return false;
    }
    org_kde_kwin_fake_input_keyboard_key(_fakeInput, KEY_LEFTSHIFT, down ? 1 : 0);
    roundtrip();
    return true;
}

std::optional<std::string> WaylandDriver::activationToken() {
    if (!_activation) {
        std::fprintf(stderr, "the compositor offers no xdg_activation_v1\n");
        return std::nullopt;
    }
    std::optional<std::string> token;
    xdg_activation_token_v1* request = xdg_activation_v1_get_activation_token(_activation);
    xdg_activation_token_v1_add_listener(request, &tokenListener, &token);
    xdg_activation_token_v1_commit(request);
    roundtrip();
    xdg_activation_token_v1_destroy(request);
    return token;
}

bool WaylandDriver::showFullScreenWindow(std::uint32_t rgb) {
    if (!_compositor || !_wmBase || !_shm) {
        std::fprintf(stderr, "the compositor offers no xdg-shell windows\n");
        return false;
    }
    static Window window;
    window.driver = this;
    window.argb = 0xff000000U | rgb;
    window.surface = wl_compositor_create_surface(_compositor);
    xdg_surface* shell = xdg_wm_base_get_xdg_surface(_wmBase, window.surface);
    xdg_surface_add_listener(shell, &surfaceListener, &window);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shell);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, &window);
    xdg_toplevel_set_title(toplevel, "full screen");
    xdg_toplevel_set_app_id(toplevel, "awning-full-screen");
    xdg_toplevel_set_fullscreen(toplevel, nullptr);
    wl_surface_commit(window.surface);
    while (wl_display_dispatch(_display) != -1) {
    }
    return true;
}
