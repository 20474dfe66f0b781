#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/TextField.h"

class QLabel;
class QLineEdit;

namespace qthost {

// A text field the user cannot edit (a label) as a QLabel, framed when bezeled or bordered; an editable
// one as a QLineEdit. Ending an edit (Return, or leaving the field) stores the text in the kit field and
// sends its action, as the platform's fields do.
class QtTextFieldPeer final : public QtViewPeer {
public:
    QtTextFieldPeer(kit::TextField& field, QWidget& parent);

    bool presents(const kit::View& view) const override;

private:
    void syncContent() override;
    void endEditing();

    kit::TextField& _field;
    bool _editable;
    QLabel* _label = nullptr;
    QLineEdit* _lineEdit = nullptr;
};

}  // namespace qthost
