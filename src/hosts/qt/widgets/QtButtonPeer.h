#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/Button.h"

class QAbstractButton;

namespace qthost {

// A push button as a QPushButton, a check box as a QCheckBox. A click goes to the kit button as the
// user's click, which flips a check box's state and sends the action.
class QtButtonPeer final : public QtViewPeer {
public:
    QtButtonPeer(kit::Button& button, QWidget& parent);

    bool presents(const kit::View& view) const override;
    // A title's "&" is a character, not Qt's mnemonic marker.
    static QString widgetText(const std::string& title);

private:
    void syncContent() override;

    kit::Button& _button;
    kit::ButtonType _type;
    QAbstractButton* _widget;
};

}  // namespace qthost
