#include "hosts/qt/widgets/QtBoxPeer.h"

#include <QGroupBox>

namespace qthost {

QtBoxPeer::QtBoxPeer(kit::Box& box, QWidget& parent)
    : QtViewPeer(box, new QGroupBox(&parent)), _box(box), _widget(static_cast<QGroupBox*>(&widget())) {}

void QtBoxPeer::syncContent() {
    _widget->setTitle(QString::fromStdString(_box.title()));
}

}  // namespace qthost
