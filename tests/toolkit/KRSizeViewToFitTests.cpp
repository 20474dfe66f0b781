#include <gtest/gtest.h>

#include "kit/appkit/Button.h"
#include "toolkit/KRSizeToFitButton.h"
#include "toolkit/KRSizeToFitStaticButton.h"
#include "toolkit/KRSizeToFitView.h"
#include "toolkit/KRSizeViewToFit.h"
#include "toolkit/SizeToFitTest.h"

using kit::Rect;

namespace {

constexpr kit::AutoresizingMask leftPinned = kit::ViewMaxXMargin;
constexpr kit::AutoresizingMask rightPinned = kit::ViewMinXMargin;

}  // namespace

// A control at x 300, 100 wide, then a member, a stretchable member and one more member after it.
TEST_F(SizeToFitTest, TheFixedEdgeDecidesWhereTheControlAndItsChainGo) {
    struct Case {
        const char* name;
        kit::AutoresizingMask mask;
        double naturalWidth;
        Rect control;
        Rect follower;
        Rect stretchable;
    };
    const Rect follower(200, 10, 50, 20);
    const Rect stretchable(500, 10, 100, 20);
    const Case cases[] = {
        {"left pinned, grows", leftPinned, 130, {300, 10, 130, 20}, {230, 10, 50, 20}, {530, 10, 70, 20}},
        {"left pinned, shrinks", leftPinned, 80, {300, 10, 80, 20}, {180, 10, 50, 20}, {480, 10, 120, 20}},
        {"left pinned, y margins ignored",
         leftPinned | kit::ViewMinYMargin | kit::ViewMaxYMargin,
         130,
         {300, 10, 130, 20},
         {230, 10, 50, 20},
         {530, 10, 70, 20}},
        {"right pinned, grows", rightPinned, 130, {270, 10, 130, 20}, {170, 10, 50, 20}, {500, 10, 70, 20}},
        {"right pinned, shrinks", rightPinned, 80, {320, 10, 80, 20}, {220, 10, 50, 20}, {500, 10, 120, 20}},
        {"centred, grows", kit::ViewNotSizable, 107, {296, 10, 107, 20}, follower, stretchable},
        {"centred, shrinks", kit::ViewNotSizable, 93, {304, 10, 93, 20}, follower, stretchable},
        {"both margins, grows", leftPinned | rightPinned, 107, {296, 10, 107, 20}, follower, stretchable},
        {"stretchable", kit::ViewWidthSizable | leftPinned, 130, {300, 10, 100, 20}, follower, stretchable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto& control = add<KRSizeToFitStaticButton>(Rect(300, 10, 100, 20));
        control.setAutoresizingMask(c.mask);
        auto& first = add<KRSizeToFitView>(follower);
        first.setAutoresizingMask(rightPinned);  // a member's own anchoring plays no part
        auto& stretching = add<KRSizeToFitView>(stretchable);
        stretching.setAutoresizingMask(kit::ViewWidthSizable);
        auto& last = add<KRSizeToFitView>(Rect(700, 10, 10, 10));
        control.setNextSizeToFitView(&first);
        first.setNextSizeToFitView(&stretching);
        stretching.setNextSizeToFitView(&last);
        setNaturalSize(control, c.naturalWidth, 20);

        KRSizeViewToFit(control);

        EXPECT_EQ(control.frame(), c.control);
        EXPECT_EQ(first.frame(), c.follower);
        EXPECT_EQ(stretching.frame(), c.stretchable);
        EXPECT_EQ(last.frame(), Rect(700, 10, 10, 10));
    }
}

// One control and a follower at x 200. Scale 0 means no screen at all. Points are binary fractions: 100 - 99.9
// is a little under 0.1.
TEST_F(SizeToFitTest, SmallChangesMoveNothingAndNewSizesLandOnWholePoints) {
    using enum kit::ControlSize;
    struct Case {
        const char* fault;
        double scale;
        kit::AutoresizingMask mask;
        kit::ControlSize size;
        Rect start;
        kit::Size natural;
        kit::Point origin;  // the control takes its natural size there
        double followerX;
    };
    const Rect tall(300, 10.5, 100, 100);
    const Rect regular(300, 10, 100, 20);
    const Case cases[] = {
        // Right pinned and at a y of 10.5, so any change of width or height would move the control.
        {"width 0.1 less is a change", 2, rightPinned, Regular, tall, {99.9, 100}, {300, 10.5}, 200},
        {"width 0.1 more is a change", 2, rightPinned, Regular, tall, {100.1, 100}, {300, 10.5}, 200},
        {"width 0.125 less is ignored", 2, rightPinned, Regular, tall, {99.875, 100}, {300.125, 10.5}, 200.125},
        {"height 0.1 less is a change", 2, rightPinned, Regular, tall, {100, 99.9}, {300, 10.5}, 200},
        {"height 0.1 more is a change", 2, rightPinned, Regular, tall, {100, 100.1}, {300, 10.5}, 200},
        {"height 0.125 less is ignored", 2, rightPinned, Regular, tall, {100, 99.875}, {300, 10}, 200},
        // A new height is centred on the old place, on whole points; small controls on Retina go a point up.
        {"small on Retina nudged", 2, 0, Small, regular, {100, 15}, {300, 12}, 200},
        {"small at 1x not nudged", 1, 0, Small, regular, {100, 15}, {300, 11}, 200},
        {"regular at 1x", 1, 0, Regular, regular, {100, 15}, {300, 12}, 200},
        {"mini at 1x nudged", 1, 0, Mini, regular, {100, 15}, {300, 12}, 200},
        {"1.49 is not Retina", 1.49, 0, Small, regular, {100, 15}, {300, 11}, 200},
        {"1.5 is Retina", 1.5, 0, Small, regular, {100, 15}, {300, 12}, 200},
        {"taller on Retina", 2, 0, Regular, regular, {100, 25}, {300, 7}, 200},
        {"taller small at 1x", 1, 0, Small, regular, {100, 25}, {300, 6}, 200},
        // Off Retina the chain moves by whole points.
        {"0.4 wider: only the control changes", 1, leftPinned, Regular, regular, {100.375, 20}, {300, 10}, 200},
        {"2.5 narrower: neighbours move 3 left", 1, leftPinned, Regular, regular, {97.5, 20}, {300, 10}, 197},
        {"2.5 wider: neighbours move 3 right", 1, leftPinned, Regular, regular, {102.5, 20}, {300, 10}, 203},
        {"right pinned: the control itself is not snapped", 1, rightPinned, Regular, regular, {97.5, 20},
         {302.5, 10}, 203},
        {"Retina: no snapping", 2, leftPinned, Regular, regular, {97.5, 20}, {300, 10}, 197.5},
        {"no screen: not Retina", 0, leftPinned, Small, regular, {97.5, 15}, {300, 11}, 197},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        if (c.scale > 0) {
            useScreenScale(c.scale);
        } else {
            world().setScreens({});
        }
        auto& control = add<KRSizeToFitStaticButton>(c.start);
        control.setAutoresizingMask(c.mask);
        control.setControlSize(c.size);
        auto& follower = add<KRSizeToFitView>(Rect(200, 10, 50, 20));
        control.setNextSizeToFitView(&follower);
        setNaturalSize(control, c.natural.width, c.natural.height);

        KRSizeViewToFit(control);

        EXPECT_EQ(control.frame(), Rect(c.origin, c.natural));
        EXPECT_EQ(follower.frame().minX(), c.followerX);
    }
}

TEST_F(SizeToFitTest, AChainEndsAfterAViewOutsideTheFamilyAndAtAViewItAlreadyMoved) {
    auto& control = add<KRSizeToFitStaticButton>(Rect(0, 10, 100, 20));
    control.setAutoresizingMask(leftPinned);
    auto& member = add<KRSizeToFitView>(Rect(110, 10, 50, 20));
    auto& plain = add<kit::View>(Rect(170, 10, 50, 20));
    control.setNextSizeToFitView(&member);
    member.setNextSizeToFitView(&plain);
    setNaturalSize(control, 120, 20);
    KRSizeViewToFit(control);
    EXPECT_EQ(member.frame().minX(), 130);
    EXPECT_EQ(plain.frame().minX(), 190);

    // A loop back to the control, and one back to a member, are each walked once.
    auto& looping = add<KRSizeToFitStaticButton>(Rect(0, 50, 100, 20));
    looping.setAutoresizingMask(leftPinned);
    auto& second = add<KRSizeToFitView>(Rect(110, 50, 50, 20));
    auto& third = add<KRSizeToFitView>(Rect(170, 50, 50, 20));
    looping.setNextSizeToFitView(&second);
    second.setNextSizeToFitView(&third);
    third.setNextSizeToFitView(&looping);
    setNaturalSize(looping, 120, 20);
    KRSizeViewToFit(looping);
    EXPECT_EQ(looping.frame(), Rect(0, 50, 120, 20));
    EXPECT_EQ(second.frame().minX(), 130);
    EXPECT_EQ(third.frame().minX(), 190);

    third.setNextSizeToFitView(&second);
    setNaturalSize(looping, 100, 20);
    KRSizeViewToFit(looping);
    EXPECT_EQ(second.frame().minX(), 110);
    EXPECT_EQ(third.frame().minX(), 170);
}

TEST_F(SizeToFitTest, MovingAMemberNeverSizesIt) {
    auto& control = add<KRSizeToFitStaticButton>(Rect(0, 10, 100, 20));
    control.setAutoresizingMask(leftPinned);
    auto& button = add<KRSizeToFitButton>(Rect(110, 10, 50, 20));
    auto& after = add<KRSizeToFitView>(Rect(170, 10, 50, 20));
    control.setNextSizeToFitView(&button);
    button.setNextSizeToFitView(&after);
    setNaturalSize(button, 80, 22);
    setNaturalSize(control, 90, 20);
    KRSizeViewToFit(control);
    EXPECT_EQ(button.frame(), Rect(100, 10, 50, 20));
    EXPECT_EQ(after.frame(), Rect(160, 10, 50, 20)) << "and starts no walk of its own";
}

TEST_F(SizeToFitTest, RepeatedFitsOfTheSameContentChangeNothing) {
    auto& control = add<KRSizeToFitButton>(Rect(0, 10, 100, 20));
    control.setAutoresizingMask(leftPinned);
    auto& follower = add<KRSizeToFitView>(Rect(110, 10, 50, 20));
    control.setNextSizeToFitView(&follower);
    setNaturalSize(control, 120, 18);
    control.setTitle("Check for Updates");
    control.setTitle("Check for Updates");
    control.awakeFromNib();
    EXPECT_EQ(control.frame(), Rect(0, 11, 120, 18));
    EXPECT_EQ(follower.frame(), Rect(130, 10, 50, 20));
}
