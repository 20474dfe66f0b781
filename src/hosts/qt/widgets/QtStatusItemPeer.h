#pragma once

#include <QSystemTrayIcon>

#include "kit/appkit/StatusItemPeer.h"

namespace qthost {

// A status item as the desktop's tray icon, where the desktop has a tray: its image, drawn for the screen's
// resolution. The item's menu is not offered from the tray.
class QtStatusItemPeer final : public kit::StatusItemPeer {
public:
    explicit QtStatusItemPeer(kit::StatusItem& item);
    void statusItemDidChange(const kit::StatusItem& item) override;

private:
    QSystemTrayIcon _icon;
};

}  // namespace qthost
