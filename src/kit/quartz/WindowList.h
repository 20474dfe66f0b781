#pragma once

#include <cstdint>
#include <optional>

#include "kit/foundation/PropertyList.h"
#include "kit/geometry/Geometry.h"

namespace kit {

inline constexpr std::uint32_t WindowListOptionOnScreenOnly = 1;
inline constexpr std::uint32_t WindowListExcludeDesktopElements = 16;
inline constexpr std::uint32_t NullWindowID = 0;

// Keys of a window description.
inline constexpr const char* WindowOwnerName = "kCGWindowOwnerName";
inline constexpr const char* WindowName = "kCGWindowName";
inline constexpr const char* WindowIsOnscreen = "kCGWindowIsOnscreen";
inline constexpr const char* WindowBounds = "kCGWindowBounds";
inline constexpr const char* WindowNumber = "kCGWindowNumber";
inline constexpr const char* WindowLayer = "kCGWindowLayer";
inline constexpr const char* WindowOwnerPID = "kCGWindowOwnerPID";

// CGWindowListCopyWindowInfo: the window server's descriptions, frontmost first, or nullopt.
std::optional<PropertyList::Array> windowListCopyWindowInfo(std::uint32_t options,
                                                            std::uint32_t relativeToWindow);

// CGRectMakeWithDictionaryRepresentation: a rectangle from a dictionary whose "X", "Y", "Width" and
// "Height" are numbers; false (rect untouched) for anything else.
bool rectMakeWithDictionaryRepresentation(const PropertyList& dictionary, Rect& rect);
// The dictionary form of a rectangle, as the window server writes bounds.
PropertyList dictionaryRepresentation(const Rect& rect);

}  // namespace kit
