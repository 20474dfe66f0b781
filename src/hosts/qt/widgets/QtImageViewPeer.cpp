#include "hosts/qt/widgets/QtImageViewPeer.h"

#include <QLabel>
#include <QPixmap>
#include <cmath>

#include "hosts/qt/widgets/QtImages.h"
#include "kit/appkit/ImageView.h"

namespace qthost {

QtImageViewPeer::QtImageViewPeer(kit::ImageView& view, QWidget& parent)
    : QtViewPeer(view, new QLabel(&parent)), _imageView(view), _label(static_cast<QLabel*>(&widget())) {
    _label->setAlignment(Qt::AlignCenter);
}

void QtImageViewPeer::syncContent() {
    const int pixelWidth = static_cast<int>(std::ceil(_imageView.frame().width() * _label->devicePixelRatioF()));
    const QImage image = _imageView.image() ? qtImage(*_imageView.image(), pixelWidth) : QImage();
    _label->setPixmap(image.isNull() ? QPixmap()
                                     : QPixmap::fromImage(image).scaled(_label->size(), Qt::KeepAspectRatio,
                                                                        Qt::SmoothTransformation));
}

}  // namespace qthost
