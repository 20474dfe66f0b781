#include <gtest/gtest.h>

#include "kit/foundation/SystemVersion.h"
#include "support/HeadlessTest.h"

class SystemVersionTest : public HeadlessTest {};

TEST_F(SystemVersionTest, AtLeastComparesMajorThenMinor) {
    kit::SystemVersion::setCurrent({11, 7});
    EXPECT_TRUE(kit::SystemVersion::current().isAtLeast(11, 7));
    EXPECT_TRUE(kit::SystemVersion::current().isAtLeast(10, 15));
    EXPECT_FALSE(kit::SystemVersion::current().isAtLeast(12));
    EXPECT_FALSE(kit::SystemVersion::current().isAtLeast(11, 8));
}

TEST_F(SystemVersionTest, AppKitNumberFollowsTheSystemUnlessSetAndARestartTakesTheNewest) {
    kit::SystemVersion::setCurrent({10, 9});
    EXPECT_EQ(kit::SystemVersion::appKitVersionNumber(), 1265);
    kit::SystemVersion::setCurrent({10, 8});
    EXPECT_LT(kit::SystemVersion::appKitVersionNumber(), 1265);
    kit::SystemVersion::setAppKitVersionNumber(1264.5);
    EXPECT_EQ(kit::SystemVersion::appKitVersionNumber(), 1264.5);
    restart();
    EXPECT_EQ(kit::SystemVersion::current(), kit::SystemVersion::newest());
}
