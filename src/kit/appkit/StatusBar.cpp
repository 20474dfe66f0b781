#include "kit/appkit/StatusBar.h"

#include <algorithm>

#include "kit/appkit/StatusItem.h"
#include "kit/core/ProcessLocal.h"

namespace kit {

StatusBar& StatusBar::systemStatusBar() {
    static auto* bar = new ProcessLocal<StatusBar>;  // never destroyed, like the application
    return bar->get();
}

std::shared_ptr<StatusItem> StatusBar::statusItemWithLength(double length) {
    return _items.emplace_back(std::make_shared<StatusItem>(length));
}

void StatusBar::removeStatusItem(const StatusItem& item) {
    std::erase_if(_items, [&](const auto& held) { return held.get() == &item; });
}

}  // namespace kit
