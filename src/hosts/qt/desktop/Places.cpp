#include "hosts/qt/desktop/Places.h"

#include <algorithm>
#include <cctype>

namespace qthost {

namespace {

bool isSet(const char* value) {
    return value && *value;
}

std::string languageOf(const std::string& tag) {
    std::string language = tag.substr(0, tag.find_first_of("-_.@"));
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return language == "c" || language == "posix" ? "en" : language;
}

// An XDG base folder: the variable when it is an absolute path, else `fallback` in the home folder.
std::filesystem::path baseFolder(const char* variable, const char* home, const char* fallback) {
    if (isSet(variable) && std::filesystem::path(variable).is_absolute()) {
        return variable;
    }
    return std::filesystem::path(isSet(home) ? home : "/") / fallback;
}

std::string userFolderName(unsigned userId) {
    return "awning-" + std::to_string(userId);
}

}  // namespace

std::filesystem::path configHome(const char* xdgConfigHome, const char* home) {
    return baseFolder(xdgConfigHome, home, ".config");
}

std::filesystem::path cacheHome(const char* xdgCacheHome, const char* home) {
    return baseFolder(xdgCacheHome, home, ".cache");
}

std::filesystem::path defaultsDirectory(const char* xdgConfigHome, const char* home) {
    return configHome(xdgConfigHome, home) / "awning";
}

std::vector<std::filesystem::path> bundleDirectoryCandidates(const char* configured,
                                                             const std::filesystem::path& executableDirectory,
                                                             const std::filesystem::path& installedDataDirectory) {
    if (isSet(configured)) {
        return {configured};
    }
    std::vector<std::filesystem::path> candidates;
    if (!executableDirectory.empty()) {
        candidates.push_back(executableDirectory / "resources");
        // Installed under another prefix than the configured one.
        candidates.push_back(executableDirectory.parent_path() / "share" / "awning");
    }
    candidates.push_back(installedDataDirectory / "awning");
    return candidates;
}

std::filesystem::path bundleDirectory(const char* configured,
                                      const std::filesystem::path& executableDirectory,
                                      const std::filesystem::path& installedDataDirectory) {
    const std::vector<std::filesystem::path> candidates =
        bundleDirectoryCandidates(configured, executableDirectory, installedDataDirectory);
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate / "Info.plist", error)) {
            return candidate;
        }
    }
    return candidates.back();
}

std::vector<SocketFolder> instanceSocketFolders(const char* xdgRuntimeDir,
                                                const std::filesystem::path& temporaryDirectory,
                                                const std::filesystem::path& cacheDirectory, unsigned userId) {
    std::vector<SocketFolder> folders;
    if (isSet(xdgRuntimeDir)) {
        folders.push_back({xdgRuntimeDir, false});
    }
    folders.push_back({temporaryDirectory / userFolderName(userId), true});
    folders.push_back({cacheDirectory / "awning", true});
    return folders;
}

std::string instanceSocketName(unsigned userId) {
    return userFolderName(userId) + ".socket";
}

std::vector<std::string> languageCodes(const std::vector<std::string>& uiLanguages) {
    std::vector<std::string> codes;
    for (const std::string& tag : uiLanguages) {
        const std::string code = languageOf(tag);
        if (!code.empty() && std::find(codes.begin(), codes.end(), code) == codes.end()) {
            codes.push_back(code);
        }
    }
    if (codes.empty()) {
        codes.push_back("en");
    }
    return codes;
}

}  // namespace qthost
