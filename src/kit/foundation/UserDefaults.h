#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "kit/foundation/PropertyList.h"

namespace kit {

// User defaults: one domain of property-list values kept as an XML property list
// "<directory>/<domain>.plist", read when opened and written whole, atomically, on every change. No
// defaults are registered: every reader applies its own fall-back.
class UserDefaults {
public:
    // The application's domain (the bundle identifier) in the host's defaults directory; made on first
    // use for each process.
    static UserDefaults& standard();
    // Opens `domain` in `directory`, first removing the temporary files of its writers that were killed
    // mid-write. A file that cannot be read as a property-list dictionary (no regular file, larger than
    // PropertyListSerialization::largestFile, not a property list) is logged once, moved aside to
    // "<domain>.plist.damaged-<n>" and the domain starts empty.
    UserDefaults(std::filesystem::path directory, std::string domain);

    std::optional<PropertyList> objectForKey(const std::string& key) const;
    void setObject(const PropertyList& value, const std::string& key);
    void removeObject(const std::string& key);

    // Typed readers with the platform's fall-backs: absent or unreadable values give false / 0 / 0.0.
    bool boolForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    void setBool(bool value, const std::string& key);
    void setInteger(std::int64_t value, const std::string& key);
    void setDouble(double value, const std::string& key);

    // Every key and value of the domain.
    const PropertyList::Dictionary& dictionaryRepresentation() const { return _values; }
    // Another application's persistent domain, read only; nullopt when it has none.
    std::optional<PropertyList::Dictionary> persistentDomainForName(const std::string& domain) const;

    const std::filesystem::path& path() const { return _path; }

private:
    void load();
    void save();
    void setAsideDamagedFile(const std::string& reason);

    std::filesystem::path _directory;
    std::string _domain;
    std::filesystem::path _path;
    PropertyList::Dictionary _values;
    // A damaged file that could not be moved aside is never written over: changes then stay in memory.
    bool _keepsFile = false;
    bool _saveFailing = false;
};

}  // namespace kit
