#include <gtest/gtest.h>

#include "kit/quartz/WindowList.h"

TEST(WindowList, BoundsConvertOnlyFromFourNumbers) {
    kit::Rect rect(1, 2, 3, 4);
    EXPECT_TRUE(kit::rectMakeWithDictionaryRepresentation(
        kit::dictionaryRepresentation(kit::Rect(0, 0, 1440, 24)), rect));
    EXPECT_EQ(rect, kit::Rect(0, 0, 1440, 24));

    const kit::Rect untouched(1, 2, 3, 4);
    const kit::PropertyList bad[] = {
        kit::PropertyList("X=0"),
        kit::PropertyList::Dictionary{{"X", 0}, {"Y", 0}, {"Width", 10}},
        kit::PropertyList::Dictionary{{"X", 0}, {"Y", 0}, {"Width", 10}, {"Height", "24"}},
        kit::PropertyList::Dictionary{
            {"X", 0}, {"Y", 0}, {"Width", 10}, {"Height", kit::PropertyList::Data{}}},
    };
    for (const auto& description : bad) {
        rect = untouched;
        EXPECT_FALSE(kit::rectMakeWithDictionaryRepresentation(description, rect));
        EXPECT_EQ(rect, untouched);
    }
    // Integers and booleans are numbers too.
    EXPECT_TRUE(kit::rectMakeWithDictionaryRepresentation(
        kit::PropertyList::Dictionary{{"X", 5}, {"Y", true}, {"Width", 10}, {"Height", 2.5}}, rect));
    EXPECT_EQ(rect, kit::Rect(5, 1, 10, 2.5));
}
