#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "kit/appkit/Event.h"
#include "kit/foundation/SystemVersion.h"
#include "toolkit/KRSizeToFitPopUpButton.h"
#include "toolkit/KRSizeToFitStaticPopUpButton.h"
#include "toolkit/KRSizeToFitView.h"
#include "toolkit/SizeToFitTest.h"

using kit::Rect;

namespace {

// Item widths in a 16-point font: "Daily" 40; a styled title of 70 with a 20-point image, 90; "Weekly" 48
// with a 12-point image, 60 (tags 1 to 3). Then three empty items of width 0: a custom view with tag -1, a
// custom view with tag 0, and tag -1 without a view.
void addItems(kit::PopUpButton& popUp) {
    popUp.setFont(kit::Font::systemFontOfSize(16));
    popUp.addItemWithTitle("Daily");
    popUp.addItemWithTitle("x");
    popUp.lastItem()->setAttributedTitleSize(kit::Size{70, 20});
    popUp.lastItem()->setImageSize(kit::Size{20, 16});
    popUp.addItemWithTitle("Weekly");
    popUp.lastItem()->setImageSize(kit::Size{12, 12});
    for (long index = 0; index < 3; ++index) {
        popUp.itemAtIndex(index)->setTag(index + 1);
    }
    const auto addEmptyItem = [&](long tag, bool withView) {
        popUp.addItemWithTitle("placeholder");  // titles must differ while adding
        popUp.lastItem()->setTitle("");
        popUp.lastItem()->setTag(tag);
        if (withView) {
            popUp.lastItem()->setView(std::make_unique<kit::View>(Rect(0, 0, 200, 40)));
        }
    };
    addEmptyItem(-1, true);
    addEmptyItem(0, true);
    addEmptyItem(-1, false);
}

}  // namespace

class SizeToFitPopUpTest : public SizeToFitTest {
protected:
    SizeToFitPopUpTest() {
        popUp.setAutoresizingMask(kit::ViewMaxXMargin);
        addItems(popUp);
        setNaturalSize(popUp, 120, 30);
        follower.setFrame(Rect(300, 20, 50, 20));
        popUp.setNextSizeToFitView(&follower);
    }

    KRSizeToFitPopUpButton& popUp = add<KRSizeToFitPopUpButton>(Rect(10, 20, 200, 30), false);
    KRSizeToFitView& follower = add<KRSizeToFitView>(Rect());
};

TEST_F(SizeToFitPopUpTest, TheWidthFitsTheSelectedItemInsteadOfTheWidest) {
    struct Case {
        kit::SystemVersion version;
        long selected;
        double cellWidth;
        Rect frame;
    };
    const Case cases[] = {
        {{15, 7}, 0, 120, {10, 20, 50, 40}},   // 120 - 90 + 40 - 20
        {{26, 0}, 0, 120, {10, 20, 60, 40}},   // 120 - 90 + 40 - 10
        {{26, 0}, 1, 120, {10, 20, 110, 40}},  // the widest selected
        {{26, 0}, 2, 120, {10, 20, 80, 40}},
        {{26, 0}, -1, 120, {10, 20, 21, 40}},    // no selection counts as 1 wide
        {{15, 0}, 0, 90, {10, 20, 20, 40}},      // 20 is wide enough
        {{15, 0}, 0, 89.5, {10, 20, 89.5, 30}},  // 19.5 is not: the natural size
        {{26, 0}, 4, 120, {10, 20, 20, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version.major() << "." << c.version.minor() << ", item "
                                        << c.selected << ", cell " << c.cellWidth);
        kit::SystemVersion::setCurrent(c.version);
        popUp.kit::PopUpButton::selectItemAtIndex(c.selected);
        popUp.setFrame(Rect(10, 20, 200, 40));
        setNaturalSize(popUp, c.cellWidth, 30);
        popUp.sizeToFit();
        EXPECT_EQ(popUp.frame(), c.frame);
    }
}

TEST_F(SizeToFitPopUpTest, AnEmptySelectedItemIsNarrowerThanTheStartingWidest) {
    auto& single = add<KRSizeToFitPopUpButton>(Rect(0, 0, 200, 30), false);
    single.addItemWithTitle("");
    setNaturalSize(single, 100, 30);
    single.sizeToFit();
    EXPECT_EQ(single.frame().width(), 89) << "100 - 1 + 0 - 10";
}

TEST_F(SizeToFitPopUpTest, LoadingAndSelectingRefitAndMoveTheRow) {
    popUp.awakeFromNib();
    EXPECT_EQ(popUp.frame(), Rect(10, 20, 60, 30)) << "item 0";
    EXPECT_EQ(follower.frame().minX(), 160);

    popUp.selectItemAtIndex(1);
    EXPECT_EQ(popUp.frame().width(), 110);
    EXPECT_EQ(follower.frame().minX(), 210);

    EXPECT_TRUE(popUp.selectItemWithTag(0));
    EXPECT_EQ(popUp.indexOfSelectedItem(), 4);
    EXPECT_EQ(popUp.frame().width(), 20);

    popUp.selectItemAtIndex(2);
    popUp.setFrame(Rect(10, 20, 300, 30));
    EXPECT_FALSE(popUp.selectItemWithTag(99));
    EXPECT_EQ(popUp.indexOfSelectedItem(), 2);
    EXPECT_EQ(popUp.frame().width(), 80) << "a miss still refits";
}

TEST_F(SizeToFitPopUpTest, AChoiceRefitsUnlessItIsDecorationOrTheButtonPullsDown) {
    struct Case {
        const char* name;
        long before;
        std::optional<std::size_t> choice;
        bool pullsDown;
        long after;
        double width;
    };
    const Case cases[] = {
        {"an ordinary item", 2, 0, false, 0, 60},
        {"a view with tag -1 is put back", 2, 3, false, 2, 80},
        {"back to the first item", 0, 3, false, 0, 60},
        {"with nothing selected before it stands", -1, 3, false, 3, 20},
        {"a view with tag 0 stands", 2, 4, false, 4, 20},
        {"tag -1 without a view stands", 2, 5, false, 5, 20},
        {"dismissed", 2, std::nullopt, false, 2, 80},
        {"pulled down: no refit", 2, 0, true, 0, 200},
        {"pulled down: still put back", 2, 3, true, 2, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        popUp.setPullsDown(c.pullsDown);
        popUp.kit::PopUpButton::selectItemAtIndex(c.before);
        popUp.setFrame(Rect(10, 20, 200, 30));
        world().controlPort().setNextMenuChoice(c.choice);

        popUp.mouseDown(kit::Event{});

        EXPECT_EQ(popUp.indexOfSelectedItem(), c.after);
        EXPECT_EQ(popUp.frame(), Rect(10, 20, c.width, 30));
    }
}

TEST_F(SizeToFitPopUpTest, AStaticPopUpButtonNeverSizesItself) {
    auto& fixed = add<KRSizeToFitStaticPopUpButton>(Rect(0, 0, 200, 30), false);
    addItems(fixed);
    setNaturalSize(fixed, 120, 30);
    fixed.awakeFromNib();
    fixed.selectItemAtIndex(1);
    fixed.selectItemWithTag(0);
    world().controlPort().setNextMenuChoice(0);
    fixed.mouseDown(kit::Event{});
    EXPECT_EQ(fixed.frame(), Rect(0, 0, 200, 30));
}
