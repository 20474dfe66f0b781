#include <gtest/gtest.h>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/QtImages.h"
#include "kit/graphics/GraphicsContext.h"
#include "kit/graphics/Image.h"

// An image drawn on demand (the application's SVG icon is one) has no pixels until asked at a size: a task
// bar's icon and the About panel's picture are drawn at the size they are shown.
TEST(QtImages, ImagesDrawnOnDemandAreDrawnAtTheSizeShownAndIconsCarryEverySize) {
    qthost::QtHost host;
    const auto image = kit::Image::imageWithSize(kit::Size{32, 32}, false, [](const kit::Rect& rect) {
        kit::GraphicsContext* context = kit::GraphicsContext::currentContext();
        context->setColor(kit::Color::sRGB(1.0, 0.0, 0.0, 1.0));
        context->fillRect(rect, kit::CompositingOperation::SourceOver);
        return true;
    });
    EXPECT_EQ(qthost::qtImage(*image).width(), 32) << "at its size in points when no size is asked";
    const QImage shown = qthost::qtImage(*image, 64);
    ASSERT_EQ(shown.width(), 64);
    EXPECT_EQ(shown.pixelColor(63, 63), QColor(255, 0, 0));

    const QList<QSize> sizes = qthost::qtIcon(*image).availableSizes();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
}
