#pragma once

#include <memory>
#include <vector>

namespace kit {

class StatusItem;

// The system status bar (NSStatusBar): it holds the items made in it until they are removed.
class StatusBar {
public:
    static StatusBar& systemStatusBar();

    std::shared_ptr<StatusItem> statusItemWithLength(double length);
    void removeStatusItem(const StatusItem& item);
    const std::vector<std::shared_ptr<StatusItem>>& items() const { return _items; }

private:
    std::vector<std::shared_ptr<StatusItem>> _items;
};

}  // namespace kit
