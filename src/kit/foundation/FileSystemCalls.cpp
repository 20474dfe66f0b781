#include "kit/foundation/FileSystemCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace kit {

FileSystemCalls& FileSystemCalls::real() {
    static FileSystemCalls calls;
    return calls;
}

bool FileSystemCalls::writeAll(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

bool FileSystemCalls::sync(int descriptor) {
    return ::fsync(descriptor) == 0;
}

bool FileSystemCalls::close(int descriptor) {
    return ::close(descriptor) == 0;
}

bool FileSystemCalls::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void FileSystemCalls::syncFolder(const std::filesystem::path& folder) {
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace kit
