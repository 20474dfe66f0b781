#include "hosts/qt/widgets/ColorWellButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace qthost {

void ColorWellButton::setColor(const QColor& color) {
    if (color != _color) {
        _color = color;
        update();
    }
}

void ColorWellButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect swatch =
        style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 2, -2, -2);
    QPainter painter(this);
    if (_color.alpha() < 255) {
        constexpr int square = 6;
        painter.fillRect(swatch, Qt::white);
        for (int y = swatch.top(); y <= swatch.bottom(); y += square) {
            for (int x = swatch.left() + ((y - swatch.top()) / square % 2) * square; x <= swatch.right();
                 x += 2 * square) {
                painter.fillRect(QRect(x, y, square, square).intersected(swatch), Qt::lightGray);
            }
        }
    }
    painter.fillRect(swatch, _color);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

}  // namespace qthost
