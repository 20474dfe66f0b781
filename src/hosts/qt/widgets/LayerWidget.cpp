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

void LayerWidget::paintEvent(QPaintEvent*) {
    if (_image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0.0, 0.0), _image);
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

}  // namespace qthost
