#include "kit/foundation/FileContents.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <system_error>
#include <utility>

namespace kit {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : _descriptor(descriptor) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return _descriptor; }
    bool isOpen() const { return _descriptor >= 0; }
    bool close() {
        const int descriptor = std::exchange(_descriptor, -1);
        return descriptor < 0 || ::close(descriptor) == 0;
    }

private:
    int _descriptor;
};

bool failWith(std::string* error, const std::string& message) {
    if (error) {
        *error = message;
    }
    return false;
}

bool writeAll(int descriptor, const std::string& bytes) {
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

// Makes the rename itself durable; some file systems cannot sync a folder, which costs only durability.
void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor directory(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.isOpen()) {
        ::fsync(directory.get());
    }
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error) {
    QFile file(QFile::decodeName(path.c_str()));
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        failWith(error, "cannot read " + path.string() + ": " + file.errorString().toStdString());
        return std::nullopt;
    }
    return bytes.toStdString();
}

bool writeWholeFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                              std::string* error) {
    std::string temporaryPath = path.string() + ".tmp-XXXXXX";
    FileDescriptor file(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!file.isOpen()) {
        return failWith(error, "cannot create a file beside " + path.string() + ": " +
                                   std::system_category().message(errno));
    }
    const bool written = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.close() &&
                         ::rename(temporaryPath.c_str(), path.c_str()) == 0;
    if (!written) {
        const int reason = errno;
        ::unlink(temporaryPath.c_str());
        return failWith(error,
                        "cannot write " + path.string() + ": " + std::system_category().message(reason));
    }
    syncFolder(path.parent_path());
    return true;
}

}  // namespace kit
