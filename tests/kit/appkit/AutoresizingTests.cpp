#include <gtest/gtest.h>

#include <memory>

#include "kit/appkit/View.h"
#include "support/GeometryPrinters.h"

namespace {

struct Reflow {
    kit::AutoresizingMask mask;
    kit::Rect expected;
};

// A 200 x 100 superview grows to 260 x 130: 60 more wide, 30 more high, for a child at (20, 10) 100 x 50.
const Reflow reflows[] = {
    {kit::ViewNotSizable, {20, 10, 100, 50}},
    {kit::ViewMinXMargin, {80, 10, 100, 50}},
    {kit::ViewWidthSizable, {20, 10, 160, 50}},
    {kit::ViewMaxXMargin, {20, 10, 100, 50}},
    {kit::ViewMinXMargin | kit::ViewWidthSizable, {50, 10, 130, 50}},
    {kit::ViewMinXMargin | kit::ViewMaxXMargin, {50, 10, 100, 50}},
    {kit::ViewWidthSizable | kit::ViewMaxXMargin, {20, 10, 130, 50}},
    {kit::ViewMinXMargin | kit::ViewWidthSizable | kit::ViewMaxXMargin, {40, 10, 120, 50}},
    // The vertical axis shares the horizontal one's rule: these rows check only that it reads its own bits.
    {kit::ViewMinYMargin | kit::ViewHeightSizable, {20, 25, 100, 65}},
    {kit::ViewMinXMargin | kit::ViewMaxYMargin, {80, 10, 100, 50}},
};

}  // namespace

TEST(AutoresizingTest, EachFlexiblePartOfAnAxisTakesAnEqualShareOfTheChange) {
    for (const Reflow& reflow : reflows) {
        kit::View superview(kit::Rect(0, 0, 200, 100));
        kit::View* child = superview.addSubview(std::make_unique<kit::View>(kit::Rect(20, 10, 100, 50)));
        child->setAutoresizingMask(reflow.mask);
        superview.setFrame(kit::Rect(0, 0, 260, 130));
        EXPECT_EQ(child->frame(), reflow.expected) << "mask " << reflow.mask;
    }
}

TEST(AutoresizingTest, OnlyAResizeReflowsAndItReachesEveryLevelThatAutoresizes) {
    kit::View superview(kit::Rect(0, 0, 200, 100));
    kit::View* child = superview.addSubview(std::make_unique<kit::View>(kit::Rect(10, 10, 180, 80)));
    child->setAutoresizingMask(kit::ViewWidthSizable);
    kit::View* grandchild = child->addSubview(std::make_unique<kit::View>(kit::Rect(100, 0, 20, 20)));
    grandchild->setAutoresizingMask(kit::ViewMinXMargin);

    superview.setFrame(kit::Rect(50, 50, 200, 100));
    EXPECT_EQ(child->frame(), kit::Rect(10, 10, 180, 80)) << "moving is no resize";

    superview.setFrame(kit::Rect(50, 50, 240, 100));
    EXPECT_EQ(child->frame(), kit::Rect(10, 10, 220, 80));
    EXPECT_EQ(grandchild->frame(), kit::Rect(140, 0, 20, 20));

    child->setAutoresizesSubviews(false);
    superview.setFrame(kit::Rect(50, 50, 200, 100));
    EXPECT_EQ(child->frame(), kit::Rect(10, 10, 180, 80));
    EXPECT_EQ(grandchild->frame(), kit::Rect(140, 0, 20, 20)) << "its view does not autoresize";

    superview.setAutoresizesSubviews(false);
    superview.setFrame(kit::Rect(50, 50, 300, 100));
    EXPECT_EQ(child->frame(), kit::Rect(10, 10, 180, 80));
}

TEST(AutoresizingTest, AShrinkingSuperviewStopsAFlexibleWidthAtZero) {
    kit::View superview(kit::Rect(0, 0, 200, 100));
    kit::View* child = superview.addSubview(std::make_unique<kit::View>(kit::Rect(20, 10, 100, 50)));
    child->setAutoresizingMask(kit::ViewWidthSizable | kit::ViewHeightSizable);
    superview.setFrame(kit::Rect(0, 0, 50, 20));
    EXPECT_EQ(child->frame(), kit::Rect(20, 10, 0, 0));
}
