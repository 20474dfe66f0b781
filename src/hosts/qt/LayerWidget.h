#pragma once

#include <QImage>
#include <QWidget>

#include "kit/graphics/Bitmap.h"

namespace qthost {

// A top-level widget that shows a window's rendered layers as they are: premultiplied pixels replace what
// lies beneath inside the widget, so transparent parts stay transparent.
class LayerWidget final : public QWidget {
public:
    explicit LayerWidget(Qt::WindowFlags flags);

    // `bitmap` holds `scale` pixels per point.
    void setContent(kit::Bitmap bitmap, double scale);
    const kit::Bitmap& content() const { return _content; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    kit::Bitmap _content;
    QImage _image;  // a view of _content's pixels, not a copy
};

}  // namespace qthost
