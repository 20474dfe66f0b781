#include "hosts/qt/widgets/QtImages.h"

#include <QPixmap>
#include <array>

#include "kit/graphics/Image.h"

namespace qthost {

namespace {

constexpr std::array iconSizes = {16, 24, 32, 48, 64, 128, 256};

QImage copied(const kit::Bitmap& bitmap) {
    if (bitmap.isEmpty()) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(bitmap.pixels()), bitmap.width(), bitmap.height(),
                  QImage::Format_ARGB32_Premultiplied)
        .copy();
}

}  // namespace

QImage qtImage(const kit::Image& image, int pixelWidth) {
    if (image.representations().empty()) {
        const double width = image.size().width;
        return width > 0.0 ? copied(image.bitmapForScale(pixelWidth > 0 ? pixelWidth / width : 1.0)) : QImage();
    }
    const kit::Bitmap* largest = nullptr;
    for (const kit::Bitmap& bitmap : image.representations()) {
        if (!largest || bitmap.width() > largest->width()) {
            largest = &bitmap;
        }
    }
    return copied(*largest);
}

QIcon qtIcon(const kit::Image& image) {
    QIcon icon;
    for (const int size : iconSizes) {
        const QImage pixels = qtImage(image, size);
        if (!pixels.isNull()) {
            icon.addPixmap(QPixmap::fromImage(pixels.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    }
    return icon;
}

}  // namespace qthost
