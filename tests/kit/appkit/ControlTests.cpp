#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TabView.h"
#include "kit/appkit/TextField.h"
#include "support/ActionRecorder.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"

namespace {

// Counts the selections that go through the overridable entry point.
class CountingPopUpButton : public kit::PopUpButton {
public:
    using PopUpButton::PopUpButton;
    void selectItemAtIndex(long index) override {
        ++programmaticSelections;
        PopUpButton::selectItemAtIndex(index);
    }
    int programmaticSelections = 0;
};

}  // namespace

class ControlTest : public HeadlessTest {
protected:
    template <class ControlClass>
    void connect(ControlClass& control) {
        control.setTarget(&recorder);
        control.setAction(kit::sel("changed:"));
    }
    ActionRecorder recorder;
};

TEST_F(ControlTest, TextIsMeasuredInTheGivenFontCountingCharactersNotBytes) {
    EXPECT_EQ(kit::sizeWithFont("abc", kit::Font::systemFontOfSize(13)), (kit::Size{19.5, 16}));
    EXPECT_EQ(kit::sizeWithFont("été", kit::Font::systemFontOfSize(20, kit::FontWeightBold)),
              (kit::Size{30, 23}));
}

// A push button and a plain label are fitted by the toolkit's tests; these are the other kinds.
TEST_F(ControlTest, SizeToFitTakesTheNaturalSizeAndKeepsTheOrigin) {
    kit::Button check(kit::Rect(5, 7, 300, 40));
    check.setButtonType(kit::ButtonType::Switch);
    check.setTitle("Open");
    check.setControlSize(kit::ControlSize::Small);
    check.setFont(kit::Font::systemFontOfSize(11));  // 22 wide
    check.sizeToFit();
    EXPECT_EQ(check.frame(), kit::Rect(5, 7, 44, 19));

    kit::TextField field(kit::Rect(1, 2, 3, 4));
    field.setStringValue("Idle");
    field.sizeToFit();
    EXPECT_EQ(field.frame(), kit::Rect(1, 2, 34, 22)) << "a bezel adds room on every side";

    kit::PopUpButton popUp(kit::Rect(0, 0, 10, 10), false);
    popUp.addItemWithTitle("Daily");  // 32.5
    popUp.addItemWithTitle("Never");
    popUp.lastItem()->setImageSize(kit::Size{16, 16});
    popUp.addItemWithTitle("Weekly");
    popUp.lastItem()->setAttributedTitleSize(kit::Size{40, 16});
    EXPECT_EQ(popUp.cellSize(), (kit::Size{78.5, 22})) << "the widest item, its image included";

    world().controlPort().setCellSize(check, kit::Size{80.25, 30});
    check.sizeToFit();
    EXPECT_EQ(check.frame(), kit::Rect(5, 7, 80.25, 30)) << "a scripted size wins";
}

TEST_F(ControlTest, AClickFlipsACheckBoxAndSendsTheActionUnlessDisabled) {
    struct Case {
        kit::ButtonType type;
        kit::ControlStateValue before;
        bool enabled;
        kit::ControlStateValue after;
        std::size_t actions;
    };
    using State = kit::ControlStateValue;
    const Case cases[] = {
        {kit::ButtonType::Switch, State::Off, true, State::On, 1},
        {kit::ButtonType::Switch, State::On, true, State::Off, 1},
        {kit::ButtonType::Switch, State::Mixed, true, State::On, 1},
        {kit::ButtonType::Switch, State::Off, false, State::Off, 0},
        {kit::ButtonType::MomentaryPushIn, State::Off, true, State::Off, 1},
    };
    for (const Case& c : cases) {
        for (const bool byMouse : {false, true}) {
            kit::Button button(kit::Rect(0, 0, 80, 22));
            connect(button);
            button.setButtonType(c.type);
            button.setState(c.before);
            button.setEnabled(c.enabled);
            recorder.senders.clear();
            if (byMouse) {
                button.mouseDown(kit::Event{});
            } else {
                EXPECT_TRUE(button.perform(kit::sel("performClick:"), &recorder));
            }
            EXPECT_EQ(button.state(), c.after) << int(c.type) << " " << int(c.before) << " " << c.enabled;
            ASSERT_EQ(recorder.senders.size(), c.actions);
            if (c.actions) {
                EXPECT_EQ(recorder.senders[0], &button) << "the button is the sender, whoever asked";
            }
        }
    }
}

TEST_F(ControlTest, PopUpSelectionFollowsItsItems) {
    kit::PopUpButton popUp(kit::Rect(0, 0, 100, 22), false);
    EXPECT_EQ(popUp.selectedItem(), nullptr);
    for (const char* title : {"Daily", "Weekly", "Monthly"}) {
        popUp.addItemWithTitle(title);
    }
    EXPECT_EQ(popUp.indexOfSelectedItem(), 0) << "an empty button selects what is added";
    popUp.itemAtIndex(1)->setTag(7);
    popUp.itemAtIndex(2)->setTag(7);
    EXPECT_TRUE(popUp.selectItemWithTag(7));
    EXPECT_EQ(popUp.indexOfSelectedItem(), 1) << "the first item with the tag";

    popUp.selectItemAtIndex(2);
    popUp.addItemWithTitle("Daily");
    EXPECT_EQ(popUp.indexOfSelectedItem(), 1) << "the same item, one place up after the old Daily went";
    EXPECT_EQ(popUp.itemAtIndex(2)->title(), "Daily");

    popUp.selectItemAtIndex(3);
    EXPECT_EQ(popUp.indexOfSelectedItem(), -1);
    popUp.selectItem(popUp.itemAtIndex(0));
    EXPECT_EQ(popUp.indexOfSelectedItem(), 0);
    popUp.addItemWithTitle("Weekly");
    EXPECT_EQ(popUp.indexOfSelectedItem(), -1) << "the chosen item went; its namesake is another item";
    kit::MenuItem stranger("Elsewhere");
    popUp.selectItem(&stranger);
    EXPECT_EQ(popUp.indexOfSelectedItem(), -1);
    popUp.addItemWithTitle("Monthly");
    EXPECT_EQ(popUp.indexOfSelectedItem(), -1) << "only an empty button selects what is added";
}

TEST_F(ControlTest, AMenuChoiceSelectsTheItemAndSendsTheItemsOrTheButtonsAction) {
    CountingPopUpButton popUp(kit::Rect(0, 0, 100, 22), false);
    connect(popUp);
    for (const char* title : {"Daily", "Weekly", "Never", "Check Now"}) {
        popUp.addItemWithTitle(title);
    }
    popUp.itemAtIndex(2)->setEnabled(false);
    ActionRecorder itemTarget;
    popUp.itemAtIndex(3)->setTarget(&itemTarget);
    popUp.itemAtIndex(3)->setAction(kit::sel("changed:"));

    auto& port = world().controlPort();
    port.setNextMenuChoice(1);
    popUp.mouseDown(kit::Event{});
    EXPECT_EQ(popUp.indexOfSelectedItem(), 1);
    EXPECT_EQ(recorder.senders, std::vector<kit::Object*>{&popUp});
    EXPECT_EQ(popUp.programmaticSelections, 0) << "a choice is not a programmatic selection";

    popUp.mouseDown(kit::Event{});  // dismissed: the scripted choice was used once
    port.setNextMenuChoice(2);
    popUp.mouseDown(kit::Event{});  // a disabled item cannot be chosen
    port.setNextMenuChoice(9);
    popUp.mouseDown(kit::Event{});
    EXPECT_EQ(popUp.indexOfSelectedItem(), 1);
    EXPECT_EQ(recorder.senders.size(), 1u);

    port.setNextMenuChoice(3);
    popUp.mouseDown(kit::Event{});
    EXPECT_EQ(popUp.indexOfSelectedItem(), 3);
    EXPECT_EQ(itemTarget.senders, std::vector<kit::Object*>{popUp.itemAtIndex(3)});
    EXPECT_EQ(recorder.senders.size(), 1u) << "an item with an action sends only its own";

    popUp.setEnabled(false);
    popUp.mouseDown(kit::Event{});
    EXPECT_EQ(port.menuTrackingCount(), 5u) << "a disabled button opens no menu";
}

TEST_F(ControlTest, ASliderKeepsItsValueInRangeAndOnlyTheUserSendsTheAction) {
    kit::Slider slider(kit::Rect(0, 0, 120, 21));
    connect(slider);
    const std::pair<double, double> setAndKept[] = {
        {0.4, 0.4}, {1.5, 1.0}, {-2.0, 0.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}};
    for (const auto& [set, kept] : setAndKept) {
        slider.setDoubleValue(set);
        EXPECT_EQ(slider.doubleValue(), kept) << set;
    }
    EXPECT_TRUE(recorder.senders.empty());

    slider.moveKnob(3.0);
    EXPECT_EQ(slider.doubleValue(), 1.0);
    EXPECT_EQ(recorder.senders, (std::vector<kit::Object*>{&slider}));

    slider.setMaxValue(0.5);
    EXPECT_EQ(slider.doubleValue(), 0.5) << "a narrower range pulls the value in";
    slider.setMinValue(0.6);
    EXPECT_EQ(slider.doubleValue(), 0.6);
}

TEST_F(ControlTest, ABoxsContentAndTheSelectedTabFillTheirContainer) {
    kit::Box box(kit::Rect(10, 10, 200, 100));
    box.setFrame(kit::Rect(10, 10, 250, 120));
    EXPECT_EQ(box.contentView()->frame(), kit::Rect(0, 0, 250, 120));

    kit::TabView tabs(kit::Rect(0, 0, 300, 200));
    kit::TabViewItem* colours = tabs.addTabViewItem("Colours", std::make_unique<kit::View>(kit::Rect()));
    kit::TabViewItem* empty = tabs.addTabViewItem("Empty", nullptr);
    kit::TabViewItem* opacity = tabs.addTabViewItem("Opacity", std::make_unique<kit::View>(kit::Rect()));
    EXPECT_EQ(tabs.selectedTabViewItem(), colours);
    EXPECT_FALSE(colours->view()->isHidden());
    EXPECT_TRUE(opacity->view()->isHidden());

    tabs.selectTabViewItem(opacity);
    EXPECT_TRUE(colours->view()->isHidden());
    EXPECT_FALSE(opacity->view()->isHidden());
    tabs.selectTabViewItem(empty);
    EXPECT_TRUE(opacity->view()->isHidden());
    kit::TabViewItem stranger("Other", nullptr);
    tabs.selectTabViewItem(&stranger);
    EXPECT_EQ(tabs.selectedTabViewItem(), empty);
    tabs.setFrame(kit::Rect(0, 0, 320, 200));
    EXPECT_EQ(colours->view()->frame(), kit::Rect(0, 0, 320, 200));
}
