#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "kit/foundation/FileSystemCalls.h"

namespace kit {

// Every byte of the file at `path`; nullopt when it cannot be read, with the reason in `error` when given.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error = nullptr);

// The file's text as NSString's stringWithContentsOfFile:encoding: with UTF-8 reads it: nullopt when it
// cannot be read or is not valid UTF-8.
std::optional<std::string> readUTF8File(const std::filesystem::path& path);
// Replaces the file at `path` with `bytes`: they go to a temporary file beside it, reach the disk, and the
// temporary file is then renamed over it and the folder synced, so a failure or crash at any point leaves
// the previous file whole. False, with the reason in `error` when given, when the file could not be
// replaced; the temporary file is then removed.
bool writeWholeFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                              std::string* error = nullptr, FileSystemCalls& calls = FileSystemCalls::real());

}  // namespace kit
