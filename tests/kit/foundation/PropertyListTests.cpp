#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kit/foundation/PropertyList.h"

using kit::PropertyList;

TEST(PropertyListTest, StringsReadTheirLeadingNumber) {
    EXPECT_EQ(PropertyList(" 12abc").doubleValue(), 12.0);
    EXPECT_EQ(PropertyList(" 12abc").integerValue(), 12);
    EXPECT_EQ(PropertyList("-3.7e2x").doubleValue(), -370.0);
    EXPECT_EQ(PropertyList("12.9").integerValue(), 12);
    EXPECT_EQ(PropertyList("\t+.5").doubleValue(), 0.5);
    EXPECT_EQ(PropertyList("7e").doubleValue(), 7.0);
    EXPECT_EQ(PropertyList("1e+2x").doubleValue(), 100.0);
    EXPECT_EQ(PropertyList("5.").doubleValue(), 5.0);
    EXPECT_EQ(PropertyList("-").doubleValue(), 0.0);
    EXPECT_EQ(PropertyList("inf").doubleValue(), 0.0);
    EXPECT_EQ(PropertyList("99999999999999999999").integerValue(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(PropertyList("-99999999999999999999").integerValue(), std::numeric_limits<std::int64_t>::min());
}

TEST(PropertyListTest, StringsReadAsBooleansByTheirFirstSignificantCharacter) {
    for (const char* yes : {"YES", "true", "y", "T", " 1", "007", "-2", "+9 lives"}) {
        EXPECT_EQ(PropertyList(yes).boolValue(), true) << yes;
    }
    for (const char* no : {"NO", "false", "", "0", "0.5", "-0", "abc", "  "}) {
        EXPECT_EQ(PropertyList(no).boolValue(), false) << no;
    }
}

TEST(PropertyListTest, NumbersConvertBetweenKinds) {
    EXPECT_EQ(PropertyList(true).doubleValue(), 1.0);
    EXPECT_EQ(PropertyList(false).integerValue(), 0);
    EXPECT_EQ(PropertyList(0).boolValue(), false);
    EXPECT_EQ(PropertyList(2.9).integerValue(), 2);
    EXPECT_EQ(PropertyList(-2.9).integerValue(), -2);
    EXPECT_EQ(PropertyList(-0.5).boolValue(), true);
    EXPECT_EQ(PropertyList(-0.0).boolValue(), false);
    EXPECT_EQ(PropertyList(std::nan("")).integerValue(), 0);
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    constexpr auto smallest = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(PropertyList(9223372036854775808.0).integerValue(), largest);
    EXPECT_EQ(PropertyList(-9223372036854775808.0).integerValue(), smallest);
}

TEST(PropertyListTest, ARealInTheFileIsTheWholeTextAndNothingElse) {
    EXPECT_EQ(PropertyList::parseReal("-1e-3"), -0.001);
    EXPECT_TRUE(PropertyList::parseReal("nan"));
    for (const char* notAReal : {"", " 1", "1 ", "1,5", "0.5x"}) {
        EXPECT_FALSE(PropertyList::parseReal(notAReal)) << '"' << notAReal << '"';
    }
}

TEST(PropertyListTest, DatesDataAndCollectionsDoNotAnswerReadings) {
    for (const PropertyList& value :
         {PropertyList(PropertyList::Date{10.0}), PropertyList(PropertyList::Data{1, 2}),
          PropertyList(PropertyList::Array{1}), PropertyList(PropertyList::Dictionary{})}) {
        EXPECT_FALSE(value.doubleValue());
        EXPECT_FALSE(value.integerValue());
        EXPECT_FALSE(value.boolValue());
    }
}

TEST(PropertyListTest, FindLooksOnlyIntoDictionaries) {
    const PropertyList dictionary(PropertyList::Dictionary{{"a", 1}});
    ASSERT_NE(dictionary.find("a"), nullptr);
    EXPECT_EQ(*dictionary.find("a"), PropertyList(1));
    EXPECT_EQ(dictionary.find("b"), nullptr);
    EXPECT_EQ(PropertyList("a").find("a"), nullptr);
}
