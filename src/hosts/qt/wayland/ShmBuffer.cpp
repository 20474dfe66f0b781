#include "hosts/qt/wayland/ShmBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include <limits>

namespace qthost {

namespace {

void onRelease(void* data, wl_buffer*) {
    static_cast<ShmBuffer*>(data)->released();
}

const wl_buffer_listener bufferListener{onRelease};

std::size_t byteSize(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, int width, int height) {
    if (!shm || width <= 0 || height <= 0 || width > std::numeric_limits<std::int32_t>::max() / 4 / height) {
        return nullptr;
    }
    const std::size_t size = byteSize(width, height);
    const int file = memfd_create("awning-tint", MFD_CLOEXEC);
    if (file < 0) {
        return nullptr;
    }
    void* memory = MAP_FAILED;
    if (ftruncate(file, static_cast<off_t>(size)) == 0) {
        memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    }
    if (memory == MAP_FAILED) {
        close(file);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, file, static_cast<std::int32_t>(size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_ARGB8888);
    // The buffer keeps the memory; the pool and our descriptor are no longer needed.
    wl_shm_pool_destroy(pool);
    close(file);
    std::unique_ptr<ShmBuffer> result(new ShmBuffer(buffer, static_cast<std::uint32_t*>(memory), width, height));
    wl_buffer_add_listener(buffer, &bufferListener, result.get());
    return result;
}

ShmBuffer::ShmBuffer(wl_buffer* buffer, std::uint32_t* pixels, int width, int height)
    : _buffer(buffer), _pixels(pixels), _width(width), _height(height) {}

ShmBuffer::~ShmBuffer() {
    wl_buffer_destroy(_buffer);
    munmap(_pixels, byteSize(_width, _height));
}

}  // namespace qthost
