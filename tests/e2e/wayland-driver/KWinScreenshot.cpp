#include "KWinScreenshot.h"

#include <unistd.h>

#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QImage>
#include <cstdio>

bool saveKWinScreenshot(const std::string& path) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    QDBusInterface screenshot(QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
                              QStringLiteral("org.kde.KWin.ScreenShot2"));
    const QVariantMap options{{QStringLiteral("native-resolution"), true}};
    // KWin writes the pixels while the call is answered: the reply first, then everything until it closes.
    const QDBusReply<QVariantMap> reply =
        screenshot.call(QStringLiteral("CaptureWorkspace"), options,
                        QVariant::fromValue(QDBusUnixFileDescriptor(pipeEnds[1])));
    close(pipeEnds[1]);
    QFile input;
    input.open(pipeEnds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!reply.isValid()) {
        std::fprintf(stderr, "KWin took no screenshot: %s\n", qPrintable(reply.error().message()));
        return false;
    }
    const QByteArray pixels = input.readAll();
    const QVariantMap result = reply.value();
    const int width = result.value(QStringLiteral("width")).toInt();
    const int height = result.value(QStringLiteral("height")).toInt();
    const qsizetype stride = result.value(QStringLiteral("stride")).toInt();
    const auto format = static_cast<QImage::Format>(result.value(QStringLiteral("format")).toInt());
    if (width <= 0 || height <= 0 || pixels.size() < stride * height) {
        std::fprintf(stderr, "KWin's screenshot came short\n");
        return false;
    }
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), width, height, stride, format);
    return image.save(QString::fromStdString(path), "PNG");
}
