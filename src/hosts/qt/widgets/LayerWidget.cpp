#include "hosts/qt/widgets/LayerWidget.h"

#include <QCloseEvent>
#include <QPainter>

namespace qthost {

LayerWidget::LayerWidget(Qt::WindowFlags flags) : QWidget(nullptr, flags) {}

void LayerWidget::setContent(kit::Bitmap bitmap, double scale) {
    _image = QImage();  // before the pixels it shows go
    _content = std::move(bitmap);
    if (!_content.isEmpty()) {
        _image = QImage(reinterpret_cast<const uchar*>(_content.pixels()), _content.width(),
                        _content.height(), _content.width() * 4, QImage::Format_ARGB32_Premultiplied);
        _image.setDevicePixelRatio(scale);
    }
    update();
}

void LayerWidget::setDrawsEdge(bool drawsEdge) {
    _drawsEdge = drawsEdge;
    update();
}

void LayerWidget::paintEvent(QPaintEvent*) {
    if (_image.isNull() && !_drawsEdge) {
        return;
    }
    QPainter painter(this);
    if (!_image.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0.0, 0.0), _image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (_drawsEdge) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void LayerWidget::closeEvent(QCloseEvent* event) {
    if (_closeHandler) {
        _closeHandler();
    }
    event->accept();
}

void LayerWidget::moveEvent(QMoveEvent*) {
    if (_geometryHandler) {
        _geometryHandler();
    }
}

void LayerWidget::resizeEvent(QResizeEvent*) {
    if (_geometryHandler) {
        _geometryHandler();
    }
}

void LayerWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && _activationHandler) {
        _activationHandler();
    }
    QWidget::changeEvent(event);
}

}  // namespace qthost
