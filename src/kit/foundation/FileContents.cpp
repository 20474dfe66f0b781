#include "kit/foundation/FileContents.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <system_error>
#include <utility>

namespace kit {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : _descriptor(descriptor) {}
    ~FileDescriptor() {
        if (isOpen()) {
            ::close(_descriptor);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return _descriptor; }
    bool isOpen() const { return _descriptor >= 0; }
    // Hands the descriptor to the caller, who closes it.
    int release() { return std::exchange(_descriptor, -1); }

private:
    int _descriptor;
};

bool failWith(std::string* error, const std::string& message) {
    if (error) {
        *error = message;
    }
    return false;
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

bool writeWholeFileAtomically(const std::filesystem::path& path, const std::string& bytes, std::string* error,
                              FileSystemCalls& calls) {
    std::string temporaryPath = path.string() + ".tmp-XXXXXX";
    FileDescriptor file(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!file.isOpen()) {
        return failWith(error, "cannot create a file beside " + path.string() + ": " +
                                   std::system_category().message(errno));
    }
    // The data reaches the disk before the rename makes it the file: a crash in between must not leave a
    // renamed but empty file.
    const bool written = calls.writeAll(file.get(), bytes) && calls.sync(file.get()) &&
                         calls.close(file.release()) && calls.rename(temporaryPath, path);
    if (!written) {
        const int reason = errno;
        ::unlink(temporaryPath.c_str());
        return failWith(error,
                        "cannot write " + path.string() + ": " + std::system_category().message(reason));
    }
    calls.syncFolder(path.parent_path());
    return true;
}

std::optional<std::string> readUTF8File(const std::filesystem::path& path) {
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())));
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace kit
