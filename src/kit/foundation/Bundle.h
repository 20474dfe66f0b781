#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kit/foundation/PropertyList.h"
#include "kit/foundation/StringsTable.h"

namespace kit {

// The main bundle: the resources folder the host names, with "Info.plist", resources and
// "<language>.lproj/<table>.strings" tables.
class Bundle {
public:
    // Made on first use for each process, from the host's bundle directory and preferred languages.
    static Bundle& main();
    explicit Bundle(std::filesystem::path directory);

    const std::filesystem::path& directory() const { return _directory; }
    const PropertyList::Dictionary& infoDictionary() const { return _info; }
    // The info value under `key`, or nullopt.
    std::optional<PropertyList> objectForInfoDictionaryKey(const std::string& key) const;
    // Shorthand for a string info value.
    std::optional<std::string> infoString(const std::string& key) const;
    std::optional<std::string> bundleIdentifier() const { return infoString("CFBundleIdentifier"); }

    // "<directory>/<name>.<type>" when it exists, else the first one in a language folder, in the user's
    // order of languages; nullopt when there is none.
    std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                         const std::string& type) const;

    // The translation of `key` from table `table` ("Localizable" when empty) in the user's language; else
    // `value` when not empty; else the key itself.
    std::string localizedString(const std::string& key, const std::string& value = "",
                                const std::string& table = "") const;

private:
    // The host's preferred languages, each followed by its base language ("de-CH", "de"), then "en".
    std::vector<std::string> languages() const;
    // The table at `path`, read once; nullptr when it is missing or damaged.
    const StringsTable* stringsTable(const std::filesystem::path& path) const;

    std::filesystem::path _directory;
    PropertyList::Dictionary _info;
    mutable std::map<std::filesystem::path, std::optional<StringsTable>> _tables;
};

// Every user-visible text: the English text is the key.
inline std::string localized(const std::string& english) {
    return Bundle::main().localizedString(english, "", "");
}

}  // namespace kit
