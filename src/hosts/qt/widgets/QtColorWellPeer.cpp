#include "hosts/qt/widgets/QtColorWellPeer.h"

#include <QColorDialog>

#include "hosts/qt/widgets/ColorWellButton.h"
#include "hosts/qt/widgets/QtColors.h"

namespace qthost {

QtColorWellPeer::QtColorWellPeer(kit::ColorWell& well, QWidget& parent)
    : QtViewPeer(well, new ColorWellButton(&parent)),
      _well(well),
      _widget(static_cast<ColorWellButton*>(&widget())) {
    QObject::connect(_widget, &QAbstractButton::clicked, &receiver(), [this] { openColorDialog(); });
}

void QtColorWellPeer::syncContent() {
    _widget->setColor(qtColor(_well.color()));
}

void QtColorWellPeer::openColorDialog() {
    if (!_dialog) {
        // Qt's own dialog: a desktop's native one may offer no opacity.
        _dialog = new QColorDialog(_widget->window());
        _dialog->setAttribute(Qt::WA_DeleteOnClose);
        // Without its alpha channel the dialog gives opaque colours, as the platform's panel does.
        QObject::connect(_dialog, &QColorDialog::colorSelected, &receiver(),
                         [this](const QColor& color) { _well.pickColor(kitColor(color)); });
    }
    _dialog->setOptions(
        QColorDialog::DontUseNativeDialog |
        (kit::Color::ignoresAlpha() ? QColorDialog::ColorDialogOptions() : QColorDialog::ShowAlphaChannel));
    _dialog->setCurrentColor(qtColor(_well.color()));
    _dialog->show();
    _dialog->raise();
    _dialog->activateWindow();
}

}  // namespace qthost
