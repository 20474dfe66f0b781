#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace kit {

// The system calls that replacing a file is made of. Each returns false, with errno set, when it fails.
// Writers use the real calls; a test passes its own to see the order they come in or make one fail.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;

    static FileSystemCalls& real();

    virtual bool writeAll(int descriptor, const std::string& bytes);
    // Returns once the file's data is on the disk.
    virtual bool sync(int descriptor);
    virtual bool close(int descriptor);
    virtual bool rename(const std::filesystem::path& from, const std::filesystem::path& to);
    // Makes a rename inside `folder` durable; some file systems cannot, which costs only durability.
    virtual void syncFolder(const std::filesystem::path& folder);
};

}  // namespace kit
