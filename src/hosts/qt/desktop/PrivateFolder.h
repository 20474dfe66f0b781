#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "hosts/qt/desktop/Places.h"

namespace qthost {

// Makes `folder` a folder only `userId` can enter: created with mode 0700 when missing, its mode narrowed
// when it is the user's own. Returns "" when it is fit, else why not (another account's, no folder).
std::string makePrivateFolder(const std::filesystem::path& folder, unsigned userId);
// "" when `folder`, which the desktop named (a link is followed), is a folder of `userId`'s that no other
// account may enter, as the runtime folder must be; else why it is not. Nothing is made or changed.
std::string privateFolderProblem(const std::filesystem::path& folder, unsigned userId);

// The socket `name` in the first of `folders` that is, or for one of ours can be made, private to `userId`
// and whose path fits a socket address; nullopt when none does, with each folder's refusal in `problems`.
std::optional<std::filesystem::path> instanceSocketPath(const std::vector<SocketFolder>& folders,
                                                        const std::string& name, unsigned userId,
                                                        std::string& problems);

// "" when nothing is at `path` or it is a socket of `userId`'s own; else why it must not be trusted.
std::string untrustedSocketReason(const std::filesystem::path& path, unsigned userId);

}  // namespace qthost
