#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "kit/foundation/FileSystemCalls.h"

namespace kit {

// Why a file was not read, in kinds a caller can put into words.
enum class FileReadFailure { NotFound, Unreadable, NotARegularFile, TooLarge };

// Every byte of the regular file at `path` (a link to one is followed) when it holds at most `limit`
// bytes; nullopt, with the reason in `error` and its kind in `failure` when given, when it cannot be read, is
// larger, or is no regular file (a FIFO, a device such as /dev/zero, a folder): those are refused without
// waiting or reading them. Safe to call on any thread.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t limit,
                                         std::string* error = nullptr, FileReadFailure* failure = nullptr);

// The file's text as NSString's stringWithContentsOfFile:encoding: with UTF-8 reads it, within readWholeFile's
// rules: nullopt when it cannot be read or is not valid UTF-8.
std::optional<std::string> readUTF8File(const std::filesystem::path& path, std::size_t limit,
                                        std::string* error = nullptr);
// Replaces the file at `path` with `bytes`: they go to a temporary file beside it, reach the disk, and the
// temporary file is then renamed over it and the folder synced, so a failure or crash at any point leaves
// the previous file whole. False, with the reason in `error` when given, when the file could not be
// replaced; the temporary file is then removed. The temporary file's name carries the writer's process
// identifier: "<path>.tmp-<pid>-XXXXXX".
bool writeWholeFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                              std::string* error = nullptr, FileSystemCalls& calls = FileSystemCalls::real());
// Removes the temporary files beside `path` that writers killed mid-write left behind: those whose writer
// process is gone, and those of an older naming without a writer's identifier once they are an hour old (no
// write takes that long). A live writer's file is never touched. Returns how many were removed.
std::size_t removeStrayTemporaryFiles(const std::filesystem::path& path);

}  // namespace kit
