#include "kit/foundation/Bundle.h"

#include <algorithm>
#include <memory>
#include <system_error>

#include "kit/core/Host.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/PropertyListSerialization.h"

namespace kit {

namespace {

bool isPresent(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

Bundle& Bundle::main() {
    static ProcessLocal<Bundle> bundle(+[] { return std::make_unique<Bundle>(host().bundleDirectory()); });
    return bundle.get();
}

Bundle::Bundle(std::filesystem::path directory) : _directory(std::move(directory)) {
    const std::filesystem::path infoPath = _directory / "Info.plist";
    if (!isPresent(infoPath)) {
        return;
    }
    std::string error;
    const std::optional<PropertyList> info = PropertyListSerialization::readFile(infoPath, &error);
    if (info && info->dictionary()) {
        _info = *info->dictionary();
    } else {
        log("Cannot read the bundle information " + infoPath.string() + ": " +
            (info ? "it holds no dictionary" : error));
    }
}

std::optional<PropertyList> Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    const auto found = _info.find(key);
    return found == _info.end() ? std::nullopt : std::optional<PropertyList>(found->second);
}

std::optional<std::string> Bundle::infoString(const std::string& key) const {
    const auto found = _info.find(key);
    if (found == _info.end() || !found->second.string()) {
        return std::nullopt;
    }
    return *found->second.string();
}

std::vector<std::string> Bundle::languages() const {
    std::vector<std::string> result;
    const auto add = [&result](const std::string& language) {
        if (!language.empty() && std::find(result.begin(), result.end(), language) == result.end()) {
            result.push_back(language);
        }
    };
    for (const std::string& language : host().preferredLanguages()) {
        add(language);
        add(language.substr(0, language.find_first_of("-_")));
    }
    add("en");
    return result;
}

const StringsTable* Bundle::stringsTable(const std::filesystem::path& path) const {
    auto found = _tables.find(path);
    if (found == _tables.end()) {
        std::optional<StringsTable> loaded;
        if (isPresent(path)) {
            std::string error;
            loaded = StringsTable::readFile(path, &error);
            if (!loaded) {
                log("Cannot read the strings table " + path.string() + ": " + error);
            }
        }
        found = _tables.emplace(path, std::move(loaded)).first;
    }
    return found->second ? &*found->second : nullptr;
}

std::optional<std::filesystem::path> Bundle::pathForResource(const std::string& name,
                                                             const std::string& type) const {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::string fileName = type.empty() ? name : name + "." + type;
    if (isPresent(_directory / fileName)) {
        return _directory / fileName;
    }
    for (const std::string& language : languages()) {
        const std::filesystem::path candidate = _directory / (language + ".lproj") / fileName;
        if (isPresent(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string Bundle::localizedString(const std::string& key, const std::string& value,
                                    const std::string& table) const {
    const std::string tableFile = (table.empty() ? std::string("Localizable") : table) + ".strings";
    for (const std::string& language : languages()) {
        if (const StringsTable* strings = stringsTable(_directory / (language + ".lproj") / tableFile)) {
            if (const std::string* translation = strings->find(key)) {
                return *translation;
            }
        }
    }
    return value.empty() ? key : value;
}

}  // namespace kit
