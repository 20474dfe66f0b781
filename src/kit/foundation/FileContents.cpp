#include "kit/foundation/FileContents.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringDecoder>
#include <cerrno>
#include <charconv>
#include <chrono>
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

std::string systemMessage(int code) {
    return std::system_category().message(code);
}

std::string byteCountText(std::size_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    if (bytes >= 1024 && bytes % 1024 == 0) {
        return std::to_string(bytes >> 10) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

// Reads up to `limit` + 1 bytes: one more than allowed tells a file that grew past the limit since it was
// measured.
bool readUpTo(int descriptor, std::size_t limit, std::string& bytes) {
    bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t result = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0) {
            return false;
        }
        if (result == 0) {
            break;
        }
        filled += static_cast<std::size_t>(result);
    }
    bytes.resize(filled);
    return true;
}

constexpr std::string_view temporaryMarker = ".tmp-";
constexpr std::size_t uniquePartLength = 6;  // mkostemp's XXXXXX
constexpr auto legacyStrayAge = std::chrono::hours(1);

bool isUniquePart(std::string_view text) {
    if (text.size() != uniquePartLength) {
        return false;
    }
    for (const char c : text) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

// The writer named by "<pid>-XXXXXX"; 0 for the older "XXXXXX", which names none; nullopt for a name that is
// not one of our temporary files.
std::optional<pid_t> writerOf(std::string_view suffix) {
    if (isUniquePart(suffix)) {
        return 0;
    }
    const std::size_t dash = suffix.find('-');
    pid_t writer = 0;
    if (dash == std::string_view::npos || !isUniquePart(suffix.substr(dash + 1))) {
        return std::nullopt;
    }
    const auto [end, problem] = std::from_chars(suffix.data(), suffix.data() + dash, writer);
    if (problem != std::errc() || end != suffix.data() + dash || writer <= 0) {
        return std::nullopt;
    }
    return writer;
}

bool processIsGone(pid_t process) {
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

bool isOlderThan(const std::filesystem::path& file, std::filesystem::file_time_type::duration age) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    return !error && std::filesystem::file_time_type::clock::now() - written > age;
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t limit,
                                         std::string* error, FileReadFailure* failure) {
    const auto refuse = [&](FileReadFailure kind, const std::string& message) {
        failWith(error, message);
        if (failure) {
            *failure = kind;
        }
        return std::nullopt;
    };
    const auto systemFailure = [&](int reason) {
        return refuse(reason == ENOENT || reason == ENOTDIR ? FileReadFailure::NotFound : FileReadFailure::Unreadable,
                      "cannot read " + path.string() + ": " + systemMessage(reason));
    };
    // Non-blocking: opening a FIFO without a writer would otherwise wait for one.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0) {
        return systemFailure(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return refuse(FileReadFailure::NotARegularFile, path.string() + " is not a regular file");
    }
    std::string bytes;
    if (static_cast<std::uintmax_t>(status.st_size) <= limit && !readUpTo(file.get(), limit, bytes)) {
        return systemFailure(errno);
    }
    if (static_cast<std::uintmax_t>(status.st_size) > limit || bytes.size() > limit) {
        return refuse(FileReadFailure::TooLarge, path.string() + " is larger than " + byteCountText(limit));
    }
    return bytes;
}

bool writeWholeFileAtomically(const std::filesystem::path& path, const std::string& bytes, std::string* error,
                              FileSystemCalls& calls) {
    std::string temporaryPath =
        path.string() + std::string(temporaryMarker) + std::to_string(::getpid()) + "-XXXXXX";
    FileDescriptor file(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!file.isOpen()) {
        return failWith(error, "cannot create a file beside " + path.string() + ": " + systemMessage(errno));
    }
    // The data reaches the disk before the rename makes it the file: a crash in between must not leave a
    // renamed but empty file.
    const bool written = calls.writeAll(file.get(), bytes) && calls.sync(file.get()) &&
                         calls.close(file.release()) && calls.rename(temporaryPath, path);
    if (!written) {
        const int reason = errno;
        ::unlink(temporaryPath.c_str());
        return failWith(error, "cannot write " + path.string() + ": " + systemMessage(reason));
    }
    calls.syncFolder(path.parent_path());
    return true;
}

std::size_t removeStrayTemporaryFiles(const std::filesystem::path& path) {
    const std::string prefix = path.filename().string() + std::string(temporaryMarker);
    std::size_t removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        const std::optional<pid_t> writer =
            name.starts_with(prefix) ? writerOf(std::string_view(name).substr(prefix.size())) : std::nullopt;
        std::error_code ignored;
        const bool stray = writer && (*writer > 0 ? processIsGone(*writer)
                                                  : isOlderThan(entry.path(), legacyStrayAge));
        if (stray && std::filesystem::is_regular_file(entry.symlink_status(ignored)) &&
            std::filesystem::remove(entry.path(), ignored)) {
            ++removed;
        }
    }
    return removed;
}

std::optional<std::string> readUTF8File(const std::filesystem::path& path, std::size_t limit,
                                        std::string* error) {
    std::optional<std::string> bytes = readWholeFile(path, limit, error);
    if (!bytes) {
        return std::nullopt;
    }
    // Stateless: a sequence cut off at the end is an error too, not a wait for more bytes.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())));
    if (decoder.hasError()) {
        failWith(error, path.string() + " is not UTF-8 text");
        return std::nullopt;
    }
    return bytes;
}

}  // namespace kit
