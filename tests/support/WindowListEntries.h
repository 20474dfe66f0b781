#pragma once

#include <optional>
#include <string>

#include "kit/foundation/PropertyList.h"
#include "kit/geometry/Geometry.h"

// Window-server descriptions for scripting the headless window list.
struct WindowListEntry {
    std::optional<std::string> owner = "Window Server";
    std::optional<std::string> name = "Menubar";
    std::optional<kit::PropertyList> onScreen = kit::PropertyList(true);
    std::optional<kit::PropertyList> bounds;  // a dictionary; nullopt leaves the key out
    kit::PropertyList toPropertyList() const;
};

// The primary display's menu bar as the window server lists it: top-left origin, full width.
kit::PropertyList menuBarEntry(double height, double width = 1440.0);
// An ordinary application window.
kit::PropertyList applicationWindowEntry(const std::string& owner, const kit::Rect& bounds);
