#include <gtest/gtest.h>

#include <vector>

#include "kit/appkit/Event.h"
#include "support/ActionRecorder.h"
#include "toolkit/KRSizeToFitButton.h"
#include "toolkit/KRSizeToFitTextField.h"
#include "toolkit/SizeToFitTest.h"

using kit::Rect;

// "Idle" at 13 points measures 26 wide and 16 high; a label adds 2 on each side.
TEST_F(SizeToFitTest, OnlyAPlainLabelFitsItsText) {
    struct Case {
        bool bezeled;
        bool bordered;
        bool fits;
    };
    const Case cases[] = {
        {false, false, true}, {true, false, false}, {false, true, false}, {true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bezeled " << c.bezeled << ", bordered " << c.bordered);
        auto& field = add<KRSizeToFitTextField>(Rect(10, 10, 200, 16));
        field.setAutoresizingMask(kit::ViewMaxXMargin);
        field.setBezeled(c.bezeled);
        field.setBordered(c.bordered);
        field.kit::TextField::setStringValue("Idle");
        field.awakeFromNib();
        EXPECT_EQ(field.frame(), c.fits ? Rect(10, 10, 30, 16) : Rect(10, 10, 200, 16)) << "on loading";

        field.setStringValue("Idle Idle");
        EXPECT_EQ(field.frame(), c.fits ? Rect(10, 10, 62.5, 16) : Rect(10, 10, 200, 16)) << "on new text";
        EXPECT_EQ(field.stringValue(), "Idle Idle");
    }
}

TEST_F(SizeToFitTest, AClickOnTheLabelIsAClickOnItsButtonWhileThatIsEnabled) {
    struct Case {
        const char* name;
        bool hasButton;
        bool enabled;
        kit::ControlStateValue state;
        std::size_t actions;
    };
    const Case cases[] = {
        {"enabled button", true, true, kit::ControlStateValue::On, 1},
        {"disabled button", true, false, kit::ControlStateValue::Off, 0},
        {"no button", false, true, kit::ControlStateValue::Off, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActionRecorder recorder;
        auto& checkBox = add<kit::Button>(Rect(10, 40, 20, 18));
        checkBox.setButtonType(kit::ButtonType::Switch);
        checkBox.setTarget(&recorder);
        checkBox.setAction(kit::sel(ActionRecorder::actionName));
        checkBox.setEnabled(c.enabled);
        auto& label = add<KRSizeToFitTextField>(Rect(30, 40, 200, 16));
        label.setClickButton(c.hasButton ? &checkBox : nullptr);

        label.mouseDown(kit::Event{});

        EXPECT_EQ(checkBox.state(), c.state);
        EXPECT_EQ(recorder.senders.size(), c.actions);
        if (c.actions) {
            EXPECT_EQ(recorder.senders[0], &checkBox);
        }
    }
}

TEST_F(SizeToFitTest, AButtonFitsItsTitleButAStaticOneNever) {
    auto& button = add<KRSizeToFitButton>(Rect(10, 10, 200, 22));
    button.setAutoresizingMask(kit::ViewMaxXMargin);
    button.awakeFromNib();
    EXPECT_EQ(button.frame(), Rect(10, 10, 67.0, 22)) << "\"Button\" is 39 wide, a push button adds 28";
    button.setTitle("Open");
    EXPECT_EQ(button.frame(), Rect(10, 10, 54.0, 22));
    EXPECT_EQ(button.title(), "Open");

    auto& fixed = add<KRSizeToFitStaticButton>(Rect(10, 40, 200, 22));
    fixed.awakeFromNib();
    fixed.setTitle("Open");
    EXPECT_EQ(fixed.frame(), Rect(10, 40, 200, 22));
}
