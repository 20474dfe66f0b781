#pragma once

#include <filesystem>
#include <string>

namespace qthost {

// Makes `folder` a folder only `userId` can enter: created with mode 0700 when missing, its mode narrowed
// when it is the user's own. Returns "" when it is fit, else why not (another account's, no folder).
std::string makePrivateFolder(const std::filesystem::path& folder, unsigned userId);

// "" when nothing is at `path` or it is a socket of `userId`'s own; else why it must not be trusted.
std::string untrustedSocketReason(const std::filesystem::path& path, unsigned userId);

}  // namespace qthost
