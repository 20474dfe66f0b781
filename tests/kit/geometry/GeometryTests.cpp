#include <gtest/gtest.h>

#include "kit/geometry/Geometry.h"

using kit::Rect;

TEST(Geometry, PointInRectCountsMinimumEdgesInsideAndMaximumEdgesOutside) {
    const Rect rect(0, 876, 1440, 24);
    EXPECT_TRUE(kit::pointInRect({0, 876}, rect));
    EXPECT_FALSE(kit::pointInRect({1440, 880}, rect));
    EXPECT_FALSE(kit::pointInRect({10, 900}, rect));
    EXPECT_FALSE(kit::pointInRect({-0.001, 880}, rect));
    EXPECT_FALSE(kit::pointInRect({10, 875.999}, rect));
}

TEST(Geometry, IntersectsNeedsPositiveAreaOverlap) {
    const Rect screen(0, 0, 1440, 900);
    EXPECT_TRUE(kit::intersectsRect(Rect(-10, -10, 10.5, 10.5), screen));
    // Touching on an edge is not an overlap, nor is a rectangle without area, even inside.
    EXPECT_FALSE(kit::intersectsRect(screen, Rect(1440, 0, 1920, 24)));
    EXPECT_FALSE(kit::intersectsRect(screen, Rect(0, 900, 100, 24)));
    EXPECT_FALSE(kit::intersectsRect(screen, Rect(10, 10, 0, 24)));
    EXPECT_FALSE(kit::intersectsRect(screen, Rect(10, 10, 100, 0)));
    EXPECT_FALSE(kit::intersectsRect(screen, Rect(10, 10, -5, 24)));
}

TEST(Geometry, InsetOffsetEqualityAndEmptiness) {
    const Rect strip(0, 876, 1440, 24);
    EXPECT_EQ(kit::insetRect(strip, 3.0, 2.0), Rect(3, 878, 1434, 20));
    EXPECT_EQ(kit::offsetRect(strip, 1.0, -1.0), Rect(1, 875, 1440, 24));
    EXPECT_FALSE(kit::equalRects(strip, Rect(0, 876, 1440, 24.000001)));
    EXPECT_TRUE(kit::isEmptyRect(Rect(5, 5, 0, 10)));
    EXPECT_TRUE(kit::isEmptyRect(Rect(5, 5, 10, -1)));
    EXPECT_FALSE(kit::isEmptyRect(Rect(-5, -5, 0.5, 0.5)));
}
