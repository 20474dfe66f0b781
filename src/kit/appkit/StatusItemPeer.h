#pragma once

namespace kit {

class StatusItem;

// The host's presenter of one status item (a tray icon).
class StatusItemPeer {
public:
    virtual ~StatusItemPeer() = default;
    // The item's image, alternate image, menu or highlight mode changed.
    virtual void statusItemDidChange(const StatusItem& item) = 0;
};

}  // namespace kit
