#include "support/WindowListEntries.h"

#include "kit/quartz/WindowList.h"

kit::PropertyList WindowListEntry::toPropertyList() const {
    kit::PropertyList::Dictionary entry;
    if (owner) {
        entry[kit::WindowOwnerName] = *owner;
    }
    if (name) {
        entry[kit::WindowName] = *name;
    }
    if (onScreen) {
        entry[kit::WindowIsOnscreen] = *onScreen;
    }
    if (bounds) {
        entry[kit::WindowBounds] = *bounds;
    }
    return entry;
}

kit::PropertyList menuBarEntry(double height, double width) {
    WindowListEntry entry;
    entry.bounds = kit::dictionaryRepresentation(kit::Rect(0, 0, width, height));
    return entry.toPropertyList();
}

kit::PropertyList applicationWindowEntry(const std::string& owner, const kit::Rect& bounds) {
    WindowListEntry entry;
    entry.owner = owner;
    entry.name = owner + " window";
    entry.bounds = kit::dictionaryRepresentation(bounds);
    return entry.toPropertyList();
}
