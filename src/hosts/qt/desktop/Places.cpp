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

}  // namespace

std::filesystem::path configHome(const char* xdgConfigHome, const char* home) {
    if (isSet(xdgConfigHome) && std::filesystem::path(xdgConfigHome).is_absolute()) {
        return xdgConfigHome;
    }
    return std::filesystem::path(isSet(home) ? home : "/") / ".config";
}

std::filesystem::path defaultsDirectory(const char* xdgConfigHome, const char* home) {
    return configHome(xdgConfigHome, home) / "awning";
}

std::filesystem::path bundleDirectory(const char* configured,
                                      const std::filesystem::path& executableDirectory,
                                      const std::filesystem::path& installedDataDirectory) {
    if (isSet(configured)) {
        return configured;
    }
    std::error_code error;
    const std::filesystem::path beside = executableDirectory / "resources";
    if (!executableDirectory.empty() && std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    // Installed under another prefix than the configured one.
    const std::filesystem::path relocated = executableDirectory.parent_path() / "share" / "awning";
    if (!executableDirectory.empty() && std::filesystem::is_directory(relocated, error)) {
        return relocated;
    }
    return installedDataDirectory / "awning";
}

std::filesystem::path instanceSocketPath(const char* xdgRuntimeDir,
                                         const std::filesystem::path& temporaryDirectory, unsigned userId) {
    const std::string name = "awning-" + std::to_string(userId);
    const std::filesystem::path folder =
        isSet(xdgRuntimeDir) ? std::filesystem::path(xdgRuntimeDir) : temporaryDirectory / name;
    return folder / (name + ".socket");
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
