#include "hosts/qt/widgets/QtPopUpButtonPeer.h"

#include <QSignalBlocker>
#include <QStringList>

#include "hosts/qt/widgets/PopUpComboBox.h"
#include "kit/appkit/Event.h"

namespace qthost {

QtPopUpButtonPeer::QtPopUpButtonPeer(kit::PopUpButton& button, QWidget& parent)
    : QtViewPeer(button, new PopUpComboBox(&parent)),
      _button(button),
      _widget(static_cast<PopUpComboBox*>(&widget())) {
    _widget->setOpenHandler([this] { _button.mouseDown(kit::Event()); });
}

void QtPopUpButtonPeer::syncContent() {
    QStringList titles;
    for (const kit::MenuItem* item : _button.itemArray()) {
        titles.append(QString::fromStdString(item->title()));
    }
    const QSignalBlocker blocker(_widget);
    QStringList shown;
    for (int index = 0; index < _widget->count(); ++index) {
        shown.append(_widget->itemText(index));
    }
    if (shown != titles) {
        _widget->clear();
        _widget->addItems(titles);
    }
    _widget->setCurrentIndex(_button.pullsDown() ? 0 : static_cast<int>(_button.indexOfSelectedItem()));
}

}  // namespace qthost
