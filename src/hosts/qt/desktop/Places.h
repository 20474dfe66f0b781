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

// $AWNING_BUNDLE_DIR, else the "resources" folder beside the executable when there is one (a build tree),
// else "../share/awning" from the executable when there is one (installed under any prefix), else the
// configured data folder's "awning".
std::filesystem::path bundleDirectory(const char* configured,
                                      const std::filesystem::path& executableDirectory,
                                      const std::filesystem::path& installedDataDirectory);

// The single-instance socket: one per user, in the user's runtime folder, else in a folder of the user's
// own ("awning-<uid>") in the temporary folder, which other accounts can write to.
std::filesystem::path instanceSocketPath(const char* xdgRuntimeDir,
                                         const std::filesystem::path& temporaryDirectory, unsigned userId);

// Lower-case language codes in order of preference, each once ("de-CH", "de", "en-US" → "de", "en"); the C
// and POSIX locales read as English.
std::vector<std::string> languageCodes(const std::vector<std::string>& uiLanguages);

}  // namespace qthost
