#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "kit/appkit/Color.h"

// Components kept as given are checked bit for bit by the archiver's round trip.
TEST(ColorTest, EqualityCountsTheSpaceAndComponentsFitTheSpace) {
    const kit::Color blue = kit::Color::deviceRGB(0.2, 0.4, 2.0, 0.0);
    EXPECT_NE(blue, kit::Color::calibratedRGB(0.2, 0.4, 2.0, 0.0));  // same numbers, other space
    EXPECT_EQ(kit::Color::withComponents(kit::ColorSpace::DeviceWhite, {0.3, 7.0, 9.0}, 1.0),
              kit::Color::deviceWhite(0.3, 1.0));
    EXPECT_FALSE(kit::Color::withComponents(static_cast<kit::ColorSpace>(6), {}, 1.0));
}

TEST(ColorTest, DrawingValuesAreClampedAndNaNDrawsAsZero) {
    const auto rgba = [](const kit::Color& color) {
        const kit::Color::RGBA drawn = color.rgba();
        return std::vector<double>{drawn.red, drawn.green, drawn.blue, drawn.alpha};
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(rgba(kit::Color::calibratedWhite(0.25, 0.5)), (std::vector<double>{0.25, 0.25, 0.25, 0.5}));
    EXPECT_EQ(rgba(kit::Color::deviceWhite(1.25, -1.0)), (std::vector<double>{1, 1, 1, 0}));
    EXPECT_EQ(rgba(kit::Color::calibratedRGB(-2.0, nan, infinity, nan)), (std::vector<double>{0, 0, 1, 0}));
    EXPECT_EQ(kit::Color::deviceWhite(1.25, -1.0).component(0), 1.25);  // the colour keeps its values
}
