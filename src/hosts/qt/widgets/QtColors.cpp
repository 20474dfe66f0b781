#include "hosts/qt/widgets/QtColors.h"

namespace qthost {

QColor qtColor(const kit::Color& color) {
    const kit::Color::RGBA rgba = color.rgba();
    return QColor::fromRgbF(static_cast<float>(rgba.red), static_cast<float>(rgba.green),
                            static_cast<float>(rgba.blue), static_cast<float>(rgba.alpha));
}

kit::Color kitColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return kit::Color::sRGB(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

}  // namespace qthost
