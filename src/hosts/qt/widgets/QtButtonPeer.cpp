#include "hosts/qt/widgets/QtButtonPeer.h"

#include <QCheckBox>
#include <QPushButton>

namespace qthost {

namespace {

QAbstractButton* makeWidget(kit::ButtonType type, QWidget& parent) {
    if (type == kit::ButtonType::Switch) {
        return new QCheckBox(&parent);
    }
    return new QPushButton(&parent);
}

Qt::CheckState checkState(kit::ControlStateValue state) {
    switch (state) {
        case kit::ControlStateValue::On:
            return Qt::Checked;
        case kit::ControlStateValue::Mixed:
            return Qt::PartiallyChecked;
        case kit::ControlStateValue::Off:
            break;
    }
    return Qt::Unchecked;
}

}  // namespace

QtButtonPeer::QtButtonPeer(kit::Button& button, QWidget& parent)
    : QtViewPeer(button, makeWidget(button.buttonType(), parent)),
      _button(button),
      _type(button.buttonType()),
      _widget(static_cast<QAbstractButton*>(&widget())) {
    // Qt toggles a check box itself before this; the kit's new state then comes back through sync.
    QObject::connect(_widget, &QAbstractButton::clicked, &receiver(),
                     [this] { _button.performClick(&_button); });
}

bool QtButtonPeer::presents(const kit::View& view) const {
    return static_cast<const kit::Button&>(view).buttonType() == _type;
}

QString QtButtonPeer::widgetText(const std::string& title) {
    return QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

void QtButtonPeer::syncContent() {
    _widget->setText(widgetText(_button.title()));
    if (auto* checkBox = qobject_cast<QCheckBox*>(_widget)) {
        const Qt::CheckState state = checkState(_button.state());
        checkBox->setTristate(state == Qt::PartiallyChecked);
        checkBox->setCheckState(state);
    }
}

}  // namespace qthost
