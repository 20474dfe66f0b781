#pragma once

#include <optional>
#include <string>
#include <variant>

#include "kit/appkit/Color.h"
#include "kit/foundation/PropertyList.h"

namespace kit {

// What an archive can hold at its root.
using ArchivedObject = std::variant<Color, std::string>;

// archivedDataWithRootObject: a versioned byte format of our own that round-trips the object exactly
// (for a colour: its space, components and alpha, bit for bit). nullopt when the object cannot be archived.
std::optional<PropertyList::Data> archivedDataWithRootObject(const ArchivedObject& object);
// unarchiveObjectWithData: the object, or nullopt for anything that is not such an archive (wrong
// magic or version, truncated, wrong length, unknown kind or colour space). Never throws, never crashes.
std::optional<ArchivedObject> unarchiveObjectWithData(const PropertyList::Data& data);

}  // namespace kit
