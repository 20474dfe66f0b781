#include "hosts/qt/widgets/QtStatusItemPeer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include "kit/appkit/StatusItem.h"
#include "kit/graphics/Image.h"

namespace qthost {

namespace {

QIcon trayIcon(const kit::Image& image) {
    const double scale = qApp ? qGuiApp->devicePixelRatio() : 1.0;
    const kit::Bitmap pixels = image.bitmapForScale(scale);
    if (pixels.isEmpty()) {
        return {};
    }
    const QImage picture(reinterpret_cast<const uchar*>(pixels.pixels()), pixels.width(), pixels.height(),
                         pixels.width() * 4, QImage::Format_ARGB32_Premultiplied);
    QPixmap pixmap = QPixmap::fromImage(picture.copy());
    pixmap.setDevicePixelRatio(scale);
    QIcon icon(pixmap);
    icon.setIsMask(image.isTemplate());
    return icon;
}

}  // namespace

QtStatusItemPeer::QtStatusItemPeer(kit::StatusItem& item) {
    statusItemDidChange(item);
}

void QtStatusItemPeer::statusItemDidChange(const kit::StatusItem& item) {
    _icon.setIcon(item.image() ? trayIcon(*item.image()) : QIcon());
    if (QSystemTrayIcon::isSystemTrayAvailable() && !_icon.isVisible()) {
        _icon.show();
    }
}

}  // namespace qthost
