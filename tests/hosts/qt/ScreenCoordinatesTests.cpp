#include <gtest/gtest.h>

#include "hosts/qt/ModifierFlags.h"
#include "hosts/qt/ScreenCoordinates.h"

using qthost::ScreenCoordinates;

TEST(ScreenCoordinates, ThePrimaryScreensLowerLeftIsTheOrigin) {
    const ScreenCoordinates coordinates(kit::Rect(0, 0, 1920, 1080));
    EXPECT_EQ(coordinates.toKit(kit::Rect(0, 0, 1920, 27)), kit::Rect(0, 1053, 1920, 27));
    // The top row of pixels is at y = height, the bottom row at 1, as the platform reports the pointer.
    EXPECT_EQ(coordinates.toKit(kit::Point{5, 0}), (kit::Point{5, 1080}));
    EXPECT_EQ(coordinates.toKit(kit::Point{5, 1079}), (kit::Point{5, 1}));
    // A screen above and to the left of the primary one.
    EXPECT_EQ(coordinates.toKit(kit::Rect(-1280, -1024, 1280, 1024)), kit::Rect(-1280, 1080, 1280, 1024));

    const ScreenCoordinates offset(kit::Rect(1280, 200, 1920, 1080));
    EXPECT_EQ(offset.toKit(kit::Rect(1280, 200, 1920, 1080)), kit::Rect(0, 0, 1920, 1080));
    const kit::Rect window(1300.5, 210, 640, 480);
    EXPECT_EQ(offset.toQt(offset.toKit(window)), window);
}

TEST(ModifierFlags, QtModifiersBecomeThePlatformsBits) {
    EXPECT_EQ(qthost::platformModifierFlags(Qt::NoModifier), 0u);
    EXPECT_EQ(qthost::platformModifierFlags(Qt::ShiftModifier | Qt::MetaModifier), (1u << 17) | (1u << 20));
    EXPECT_EQ(qthost::platformModifierFlags(Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier),
              (1u << 18) | (1u << 19));
}
