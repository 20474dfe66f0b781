#pragma once

#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace qthost {

// One buffer of shared memory the compositor reads a surface's pixels from, premultiplied ARGB words (the
// kit's bitmap layout). From the moment it is attached until the compositor releases it, it is busy and
// must not be painted.
class ShmBuffer {
public:
    // nullptr when the memory cannot be had.
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, int width, int height);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return _buffer; }
    std::uint32_t* pixels() const { return _pixels; }
    int width() const { return _width; }
    int height() const { return _height; }
    bool isBusy() const { return _busy; }
    // Call when attaching it to a surface.
    void markBusy() { _busy = true; }
    void released() { _busy = false; }

private:
    ShmBuffer(wl_buffer* buffer, std::uint32_t* pixels, int width, int height);

    wl_buffer* _buffer;
    std::uint32_t* _pixels;
    int _width;
    int _height;
    bool _busy = false;
};

}  // namespace qthost
