#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/PopUpButton.h"

namespace qthost {

class PopUpComboBox;

// A pop-up button as a combo box showing the kit's items and selection (a pull-down always shows its
// first item). Opening it is the user's press on the kit button, which tracks the menu through the
// control port and sends the action.
class QtPopUpButtonPeer final : public QtViewPeer {
public:
    QtPopUpButtonPeer(kit::PopUpButton& button, QWidget& parent);

private:
    void syncContent() override;

    kit::PopUpButton& _button;
    PopUpComboBox* _widget;
};

}  // namespace qthost
