#include "kit/foundation/UserDefaults.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include "kit/core/Host.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/PropertyListSerialization.h"

namespace kit {

namespace {

constexpr const char* FallbackDomain = "com.larkspur.Awning";

// A domain names one file in the folder; anything that could reach outside it names none.
bool isFileDomain(const std::string& domain) {
    return !domain.empty() && domain != "." && domain != ".." && domain.find('/') == std::string::npos &&
           domain.find('\0') == std::string::npos;
}

std::filesystem::path domainFile(const std::filesystem::path& directory, const std::string& domain) {
    return directory / (domain + ".plist");
}

// Renames `file` to "<file>.damaged-<n>" with the first free n; never replaces an existing file.
std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file) {
    for (int n = 1; n < 100000; ++n) {
        std::filesystem::path target = file;
        target += ".damaged-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return target;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

UserDefaults& UserDefaults::standard() {
    static ProcessLocal<UserDefaults> defaults(+[] {
        const std::string identifier = Bundle::main().bundleIdentifier().value_or("");
        return std::make_unique<UserDefaults>(host().defaultsDirectory(),
                                              isFileDomain(identifier) ? identifier : FallbackDomain);
    });
    return defaults.get();
}

UserDefaults::UserDefaults(std::filesystem::path directory, std::string domain)
    : _directory(std::move(directory)), _domain(std::move(domain)), _path(domainFile(_directory, _domain)) {
    load();
}

void UserDefaults::load() {
    // Writers killed mid-write leave their temporary files; nothing else ever removes them.
    removeStrayTemporaryFiles(_path);
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::symlink_status(_path, ignored))) {
        return;
    }
    std::string error;
    const std::optional<PropertyList> contents = PropertyListSerialization::readFile(_path, &error);
    if (contents && contents->dictionary()) {
        _values = *contents->dictionary();
        return;
    }
    setAsideDamagedFile(contents ? "it holds no dictionary" : error);
}

void UserDefaults::setAsideDamagedFile(const std::string& reason) {
    if (const std::optional<std::filesystem::path> aside = moveAside(_path)) {
        log("The settings file " + _path.string() + " is damaged (" + reason + "); it was moved to " +
            aside->string() + " and the settings start empty.");
        return;
    }
    _keepsFile = true;
    log("The settings file " + _path.string() + " is damaged (" + reason +
        ") and cannot be moved aside; changes to the settings will not be saved.");
}

void UserDefaults::save() {
    if (_keepsFile) {
        return;
    }
    std::error_code folderError;
    std::filesystem::create_directories(_directory, folderError);
    std::string error =
        folderError ? "cannot make " + _directory.string() + ": " + folderError.message() : "";
    const bool saved =
        !folderError && PropertyListSerialization::writeFile(PropertyList(_values), _path, &error);
    // One line when saving starts to fail, not one per change (a slider changes a value many times).
    if (!saved && !_saveFailing) {
        log("Cannot save the settings: " + error);
    }
    _saveFailing = !saved;
}

std::optional<PropertyList> UserDefaults::objectForKey(const std::string& key) const {
    const auto found = _values.find(key);
    return found == _values.end() ? std::nullopt : std::optional<PropertyList>(found->second);
}

void UserDefaults::setObject(const PropertyList& value, const std::string& key) {
    const auto [position, inserted] = _values.try_emplace(key, value);
    if (!inserted) {
        if (position->second == value) {
            return;
        }
        position->second = value;
    }
    save();
}

void UserDefaults::removeObject(const std::string& key) {
    if (_values.erase(key) > 0) {
        save();
    }
}

bool UserDefaults::boolForKey(const std::string& key) const {
    const std::optional<PropertyList> value = objectForKey(key);
    return value ? value->boolValue().value_or(false) : false;
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const {
    const std::optional<PropertyList> value = objectForKey(key);
    return value ? value->integerValue().value_or(0) : 0;
}

double UserDefaults::doubleForKey(const std::string& key) const {
    const std::optional<PropertyList> value = objectForKey(key);
    return value ? value->doubleValue().value_or(0.0) : 0.0;
}

void UserDefaults::setBool(bool value, const std::string& key) {
    setObject(PropertyList(value), key);
}

void UserDefaults::setInteger(std::int64_t value, const std::string& key) {
    setObject(PropertyList(value), key);
}

void UserDefaults::setDouble(double value, const std::string& key) {
    setObject(PropertyList(value), key);
}

std::optional<PropertyList::Dictionary> UserDefaults::persistentDomainForName(
    const std::string& domain) const {
    if (!isFileDomain(domain)) {
        return std::nullopt;
    }
    const std::optional<PropertyList> contents =
        PropertyListSerialization::readFile(domainFile(_directory, domain));
    if (!contents || !contents->dictionary()) {
        return std::nullopt;
    }
    return *contents->dictionary();
}

}  // namespace kit
