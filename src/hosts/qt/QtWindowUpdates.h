#pragma once

#include <QObject>

namespace qthost {

// Tells the kit's visible windows to update (WindowDidUpdateNotification) once the application has
// handled a key press or a click of the user's, at most once per turn of the event loop.
class QtWindowUpdates final : public QObject {
public:
    QtWindowUpdates();
    ~QtWindowUpdates() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateVisibleWindows();
    bool _pending = false;
};

}  // namespace qthost
