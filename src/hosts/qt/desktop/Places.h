#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where the desktop host finds and keeps things, from the environment's values (passed in, so that the
// rules can be checked without touching the process's environment). A null or empty value is unset.
namespace qthost {

// $XDG_CONFIG_HOME, else ~/.config. A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
std::filesystem::path configHome(const char* xdgConfigHome, const char* home);
// The defaults folder: "awning" in the configuration home.
std::filesystem::path defaultsDirectory(const char* xdgConfigHome, const char* home);
// $XDG_CACHE_HOME, else ~/.cache, by the same rules.
std::filesystem::path cacheHome(const char* xdgCacheHome, const char* home);

// Where the bundle may be, in the order bundleDirectory tries them: $AWNING_BUNDLE_DIR alone when set, else
// the "resources" folder beside the executable (a build tree), "../share/awning" from the executable
// (installed under any prefix) and the configured data folder's "awning".
std::vector<std::filesystem::path> bundleDirectoryCandidates(const char* configured,
                                                             const std::filesystem::path& executableDirectory,
                                                             const std::filesystem::path& installedDataDirectory);
// The first candidate that holds an "Info.plist", else the last.
std::filesystem::path bundleDirectory(const char* configured,
                                      const std::filesystem::path& executableDirectory,
                                      const std::filesystem::path& installedDataDirectory);

// A folder that may hold the single-instance socket. The desktop's runtime folder is taken as it is, never
// made or narrowed; Awning's own are made private to the user.
struct SocketFolder {
    std::filesystem::path path;
    bool ours = true;
};
// Where the single-instance socket may live, best first: the user's runtime folder when set; "awning-<uid>"
// in the temporary folder, which other accounts can write to and so may have taken first; "awning" in the
// user's cache folder, which only the user can write to.
std::vector<SocketFolder> instanceSocketFolders(const char* xdgRuntimeDir,
                                                const std::filesystem::path& temporaryDirectory,
                                                const std::filesystem::path& cacheDirectory, unsigned userId);
// The socket's name in its folder, one per user: "awning-<uid>.socket".
std::string instanceSocketName(unsigned userId);

// Lower-case language codes in order of preference, each once ("de-CH", "de", "en-US" → "de", "en"); the C
// and POSIX locales read as English.
std::vector<std::string> languageCodes(const std::vector<std::string>& uiLanguages);

}  // namespace qthost
