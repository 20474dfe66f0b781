#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "kit/foundation/PropertyList.h"

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

    // "<directory>/<name>.<type>" (or in the language folder) when it exists, else nullopt.
    std::optional<std::filesystem::path> pathForResource(const std::string& name, const std::string& type) const;

    // The translation of `key` from table `table` ("Localizable" when empty) in the user's language; else
    // `value` when not empty; else the key itself.
    std::string localizedString(const std::string& key, const std::string& value = "",
                                const std::string& table = "") const;

    static void resetMain();

private:
    std::filesystem::path _directory;
    PropertyList::Dictionary _info;
};

// Every user-visible text: the English text is the key.
inline std::string localized(const std::string& english) { return Bundle::main().localizedString(english, "", ""); }

}  // namespace kit
