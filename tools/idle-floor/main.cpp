// The idle floor: a bare Qt 6 program with one translucent window that bypasses the window manager, as
// large as the tint strip, and a 5 Hz timer reading the pointer, as Awning's layout pass does. On a Wayland
// compositor (Qt's wayland platform) the window is a layer surface of its own instead, on a connection of
// its own, as Awning's tint is there.
//
//   awning-idle-floor [--height N]
//
// The window lies along the bottom edge, so that Awning, measured beside it, does not take it for a panel.

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>
#include <string>

#include "LayerStrip.h"

namespace {

class Strip : public QWidget {
public:
    Strip()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 0, 128));
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    int height = 28;
    if (argc == 3 && std::strcmp(argv[1], "--height") == 0) {
        height = std::stoi(argv[2]);
    }
    std::unique_ptr<LayerStrip> layerStrip;
    Strip strip;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        layerStrip = LayerStrip::open(height);
    } else {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        strip.setGeometry(screen.x(), screen.bottom() + 1 - height, screen.width(), height);
        strip.setWindowOpacity(0.2);
        strip.show();
    }

    QPoint pointer;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&pointer] { pointer = QCursor::pos(); });
    poll.start(200);
    return QApplication::exec();
}
