#include "hosts/qt/desktop/PrivateFolder.h"

#include <sys/stat.h>
#include <sys/un.h>

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

std::string privateFolderProblem(const std::filesystem::path& folder, unsigned userId) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) {
        return "cannot use " + folder.string() + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " is not a folder";
    }
    if (status.st_uid != userId) {
        return folder.string() + " belongs to another account";
    }
    if ((status.st_mode & 0077) != 0) {
        return folder.string() + " is open to other accounts";
    }
    return "";
}

std::optional<std::filesystem::path> instanceSocketPath(const std::vector<SocketFolder>& folders,
                                                        const std::string& name, unsigned userId,
                                                        std::string& problems) {
    // A socket address holds its path and a terminating zero.
    constexpr std::size_t longestSocketPath = sizeof(sockaddr_un::sun_path) - 1;
    problems.clear();
    for (const SocketFolder& folder : folders) {
        const std::filesystem::path path = folder.path / name;
        if (folder.ours) {
            std::error_code ignored;  // a fresh account may have no cache folder yet
            std::filesystem::create_directories(folder.path.parent_path(), ignored);
        }
        std::string problem = folder.ours ? makePrivateFolder(folder.path, userId)
                                          : privateFolderProblem(folder.path, userId);
        if (problem.empty() && path.string().size() > longestSocketPath) {
            problem = path.string() + " is too long for a socket";
        }
        if (problem.empty()) {
            return path;
        }
        problems += (problems.empty() ? "" : "; ") + problem;
    }
    return std::nullopt;
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
