#include "hosts/qt/widgets/PopUpComboBox.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace qthost {

void PopUpComboBox::showPopup() {
    if (_open) {
        _open();
    }
}

void PopUpComboBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            showPopup();
            event->accept();
            return;
        default:
            event->ignore();
    }
}

void PopUpComboBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

}  // namespace qthost
