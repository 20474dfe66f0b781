#pragma once

#include <QColorDialog>
#include <QPointer>

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/ColorWell.h"

namespace qthost {

class ColorWellButton;

// A colour well as a swatch button. A click opens a colour dialog (with opacity, unless colours ignore
// alpha); the colour the user accepts goes to the kit well as the user's pick, which sends the action.
class QtColorWellPeer final : public QtViewPeer {
public:
    QtColorWellPeer(kit::ColorWell& well, QWidget& parent);

    // The open dialog, or nullptr.
    QColorDialog* colorDialog() const { return _dialog; }

private:
    void syncContent() override;
    void openColorDialog();

    kit::ColorWell& _well;
    ColorWellButton* _widget;
    QPointer<QColorDialog> _dialog;
};

}  // namespace qthost
