#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/quartz/Path.h"

namespace {

using Kind = kit::Path::Segment::Kind;

void expectNear(kit::Point actual, kit::Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

}  // namespace

TEST(PathTest, TangentArcRunsAlongBothLinesWithTheGivenRadius) {
    // A left and a right turn around the corner (10, 0), both on the circle of radius 4 around (6, 4).
    struct Case {
        kit::Point start, corner, end, arcStart, arcEnd;
    };
    for (const Case& c : {Case{{0, 0}, {10, 0}, {10, 10}, {6, 0}, {10, 4}},
                          Case{{10, 10}, {10, 0}, {0, 0}, {10, 4}, {6, 0}}}) {
        const auto path = kit::Path::createMutable();
        path->moveTo(c.start);
        path->addArcToPoint(c.corner, c.end, 4.0);
        const auto segments = path->segments();
        ASSERT_EQ(segments.size(), 3u);
        EXPECT_EQ(segments[1].kind, Kind::LineTo);
        expectNear(segments[1].point, c.arcStart);
        EXPECT_EQ(segments[2].kind, Kind::CurveTo);
        expectNear(segments[2].point, c.arcEnd);
        // The curve's midpoint bulges toward the corner, on the circle.
        const kit::Point from = segments[1].point, c1 = segments[2].control1, c2 = segments[2].control2;
        const kit::Point middle{(from.x + 3 * c1.x + 3 * c2.x + c.arcEnd.x) / 8,
                                (from.y + 3 * c1.y + 3 * c2.y + c.arcEnd.y) / 8};
        EXPECT_NEAR(std::hypot(middle.x - 6, middle.y - 4), 4.0, 1e-3);
        EXPECT_GT(middle.x, 6.0);
    }

    // Degenerate corners are lines to the corner; with no current point the path begins there.
    const auto path = kit::Path::createMutable();
    path->addArcToPoint({5, 5}, {9, 0}, 3.0);
    path->addArcToPoint({5, 10}, {9, 10}, 0.0);  // no radius
    path->addArcToPoint({5, 20}, {5, 30}, 3.0);  // straight on
    path->addArcToPoint({5, 20}, {5, 0}, 3.0);   // corner on the current point
    path->addArcToPoint({0, 6}, {0, std::numeric_limits<double>::quiet_NaN()}, 3.0);
    const auto segments = path->segments();
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_EQ(segments[0].kind, Kind::MoveTo);
    const kit::Point corners[] = {{5, 5}, {5, 10}, {5, 20}, {5, 20}, {0, 6}};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        expectNear(segments[i].point, corners[i]);
        EXPECT_NE(segments[i].kind, Kind::CurveTo);
    }
}

TEST(PathTest, PillsAndRoundedRectanglesCoverTheirInsideOnly) {
    const auto pill = kit::Path::createMutable();
    pill->moveTo({0, 5});
    pill->addArcToPoint({0, 10}, {5, 10}, 5.0);
    pill->addArcToPoint({40, 10}, {40, 5}, 5.0);
    pill->addArcToPoint({40, 0}, {35, 0}, 5.0);
    pill->addArcToPoint({0, 0}, {0, 5}, 5.0);
    pill->closeSubpath();
    EXPECT_TRUE(pill->containsPoint({2, 5}));
    EXPECT_TRUE(pill->containsPoint({20, 9.9}));
    EXPECT_FALSE(pill->containsPoint({0.5, 0.5}));
    EXPECT_FALSE(pill->containsPoint({39.5, 9.5}));

    const auto rounded = kit::Path::createMutable();
    rounded->addRoundedRect(kit::Rect(10, 20, 60, 30), 18, 18);
    EXPECT_EQ(rounded->boundingBox(), kit::Rect(10, 20, 60, 30));
    EXPECT_TRUE(rounded->containsPoint({11, 35}));
    EXPECT_FALSE(rounded->containsPoint({12, 22}));

    // Corners larger than half a side make an ellipse; a flipped rectangle is the same rectangle.
    const auto ellipse = kit::Path::createMutable();
    ellipse->addRoundedRect(kit::Rect(20, 10, -20, -10), 100, 100);
    EXPECT_EQ(ellipse->boundingBox(), kit::Rect(0, 0, 20, 10));
    EXPECT_TRUE(ellipse->containsPoint({1, 5}));
    EXPECT_FALSE(ellipse->containsPoint({2, 1}));
    ellipse->addRoundedRect(kit::Rect(50, 0, 0, 10), 2, 2);  // empty: adds nothing
    EXPECT_EQ(ellipse->boundingBox(), kit::Rect(0, 0, 20, 10));
}
