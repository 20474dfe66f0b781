#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "kit/graphics/Bitmap.h"

namespace qthost {

// A kit window's top-level widget. It shows the window's rendered layers as they are (premultiplied pixels
// replace what lies beneath, so transparent parts stay transparent), holds the widgets of its views, and
// hands a close request (the title bar's close button), its moves and its activation to handlers.
class LayerWidget final : public QWidget {
public:
    explicit LayerWidget(Qt::WindowFlags flags);

    // `bitmap` holds `scale` pixels per point.
    void setContent(kit::Bitmap bitmap, double scale);
    const kit::Bitmap& content() const { return _content; }
    void setCloseHandler(std::function<void()> handler) { _closeHandler = std::move(handler); }
    // Called after every move and resize, whoever made it.
    void setGeometryHandler(std::function<void()> handler) { _geometryHandler = std::move(handler); }
    // Called when the window becomes the active one, whoever activated it.
    void setActivationHandler(std::function<void()> handler) { _activationHandler = std::move(handler); }
    // A one-pixel line along the edges, for a window that has no frame of the window manager's yet must
    // stand out from the window beneath it.
    void setDrawsEdge(bool drawsEdge);
    bool drawsEdge() const { return _drawsEdge; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    kit::Bitmap _content;
    QImage _image;  // a view of _content's pixels, not a copy
    std::function<void()> _closeHandler;
    std::function<void()> _geometryHandler;
    std::function<void()> _activationHandler;
    bool _drawsEdge = false;
};

}  // namespace qthost
