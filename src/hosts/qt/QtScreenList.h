#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "hosts/qt/ScreenCoordinates.h"
#include "hosts/qt/x11/WindowListTranslation.h"
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
    // The same screens in root-window pixels, for the window list.
    const std::vector<PixelRect>& pixelRects() const { return _pixelRects; }
    double primaryScale() const {
        return _descriptions.empty() ? 1.0 : _descriptions.front().backingScaleFactor;
    }
    const ScreenCoordinates& coordinates() const { return _coordinates; }

private:
    void watch(QScreen* screen);
    // True when the kit's view of the screens changed.
    bool refresh();

    std::function<void()> _didChange;
    QTimer _refreshTimer;  // one refresh for the burst of signals a single change sends
    std::vector<kit::ScreenDescription> _descriptions;
    std::vector<PixelRect> _pixelRects;
    ScreenCoordinates _coordinates;
};

}  // namespace qthost
