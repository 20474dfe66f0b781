#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "kit/foundation/PropertyList.h"
#include "kit/quartz/WindowList.h"

namespace kit {
// Readable failures.
inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.minX() << ", " << rect.minY() << ", " << rect.width() << ", " << rect.height() << ")";
}
}  // namespace kit

inline kit::Rect entryBounds(const kit::PropertyList& entry) {
    kit::Rect rect;
    EXPECT_TRUE(kit::rectMakeWithDictionaryRepresentation(*entry.find(kit::WindowBounds), rect));
    return rect;
}

// The bounds of a window list's menu-bar entries, frontmost first, each checked to be the window server's
// and on screen.
inline std::vector<kit::Rect> menuBars(const kit::PropertyList::Array& list) {
    std::vector<kit::Rect> bars;
    for (const kit::PropertyList& entry : list) {
        const kit::PropertyList* name = entry.find(kit::WindowName);
        if (name && name->string() && *name->string() == "Menubar") {
            EXPECT_EQ(*entry.find(kit::WindowOwnerName)->string(), "Window Server");
            EXPECT_EQ(entry.find(kit::WindowIsOnscreen)->boolValue(), true);
            bars.push_back(entryBounds(entry));
        }
    }
    return bars;
}
