#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/ScreenCoordinates.h"
#include "kit/core/Host.h"

class QScreen;

namespace qthost {

// The screens as Qt reports them, kept in the kit's form (the layout pass reads them five times a second)
// and refreshed when a screen comes, goes or changes.
class QtScreenList final : public QObject {
public:
    // `didChange` runs after a refresh that changed what the kit sees.
    explicit QtScreenList(std::function<void()> didChange);

    // Primary first, in the kit's coordinates.
    const std::vector<kit::ScreenDescription>& descriptions() const { return _descriptions; }
    // The same screens as Qt has them, for the session's window list.
    const std::vector<SessionScreen>& sessionScreens() const { return _sessionScreens; }
    const ScreenCoordinates& coordinates() const { return _coordinates; }

private:
    void watch(QScreen* screen);
    // True when the kit's view of the screens changed.
    bool refresh();

    std::function<void()> _didChange;
    QTimer _refreshTimer;  // one refresh for the burst of signals a single change sends
    std::vector<kit::ScreenDescription> _descriptions;
    std::vector<SessionScreen> _sessionScreens;
    ScreenCoordinates _coordinates;
};

}  // namespace qthost
