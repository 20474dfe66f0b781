#include "hosts/qt/desktop/PrivateFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace qthost {

namespace {

// lstat: a symbolic link is judged as itself, never as what it points to.
bool describe(const std::filesystem::path& path, struct stat& status) {
    return lstat(path.c_str(), &status) == 0;
}

}  // namespace

std::string makePrivateFolder(const std::filesystem::path& folder, unsigned userId) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return "cannot make " + folder.string() + ": " + std::strerror(errno);
    }
    struct stat status {};
    if (!describe(folder, status)) {
        return "cannot read " + folder.string() + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " is not a folder";
    }
    if (status.st_uid != userId) {
        return folder.string() + " belongs to another account";
    }
    if ((status.st_mode & 0077) != 0 && chmod(folder.c_str(), 0700) != 0) {
        return "cannot make " + folder.string() + " private: " + std::strerror(errno);
    }
    return "";
}

std::string untrustedSocketReason(const std::filesystem::path& path, unsigned userId) {
    struct stat status {};
    if (!describe(path, status)) {
        return "";  // nothing there yet
    }
    if (!S_ISSOCK(status.st_mode)) {
        return path.string() + " is not a socket";
    }
    if (status.st_uid != userId) {
        return path.string() + " belongs to another account";
    }
    return "";
}

}  // namespace qthost
