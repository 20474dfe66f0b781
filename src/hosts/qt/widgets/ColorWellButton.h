#pragma once

#include <QColor>
#include <QPushButton>

namespace qthost {

// A button showing a colour swatch; a translucent colour shows over a checkerboard.
class ColorWellButton final : public QPushButton {
public:
    explicit ColorWellButton(QWidget* parent) : QPushButton(parent) {}

    QColor color() const { return _color; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor _color = Qt::white;
};

}  // namespace qthost
