#include "hosts/qt/widgets/QtImageViewPeer.h"

#include <QLabel>
#include <QPixmap>

#include "hosts/qt/widgets/QtRichText.h"
#include "kit/appkit/ImageView.h"

namespace qthost {

QtImageViewPeer::QtImageViewPeer(kit::ImageView& view, QWidget& parent)
    : QtViewPeer(view, new QLabel(&parent)), _imageView(view), _label(static_cast<QLabel*>(&widget())) {
    _label->setAlignment(Qt::AlignCenter);
}

void QtImageViewPeer::syncContent() {
    const QImage image = _imageView.image() ? qtImage(*_imageView.image()) : QImage();
    _label->setPixmap(image.isNull() ? QPixmap()
                                     : QPixmap::fromImage(image).scaled(_label->size(), Qt::KeepAspectRatio,
                                                                        Qt::SmoothTransformation));
}

}  // namespace qthost
