#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "support/HeadlessTest.h"

// A titled window holding one control of each kind, its peer made by showing it.
class ShownStateTest : public HeadlessTest {
protected:
    ShownStateTest()
        : window(kit::Rect(100, 100, 400, 300), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                 false) {
        kit::View& content = *window.contentView();
        button = add<kit::Button>(content, kit::Rect(10, 10, 80, 22));
        slider = add<kit::Slider>(content, kit::Rect(10, 40, 200, 21));
        well = add<kit::ColorWell>(content, kit::Rect(10, 70, 44, 23));
        field = add<kit::TextField>(content, kit::Rect(10, 100, 100, 22));
        box = add<kit::Box>(content, kit::Rect(200, 100, 150, 100));
        popUp = add<kit::PopUpButton>(content, kit::Rect(10, 130, 120, 22), false);
        window.makeKeyAndOrderFront(nullptr);
        world().clearShownStateChanges();
    }

    template <class T, class... Arguments>
    T* add(kit::View& superview, const kit::Rect& frame, Arguments... arguments) {
        return static_cast<T*>(superview.addSubview(std::make_unique<T>(frame, arguments...)));
    }

    const std::vector<const kit::Object*>& changes() { return world().shownStateChanges(); }

    kit::Window window;
    kit::Button* button;
    kit::Slider* slider;
    kit::ColorWell* well;
    kit::TextField* field;
    kit::Box* box;
    kit::PopUpButton* popUp;
};

TEST_F(ShownStateTest, EverySetterOfShownStateTellsThePeerWhichViewChanged) {
    struct Case {
        std::string name;
        std::function<const kit::Object*()> change;  // returns what the peer must hear of
    };
    const kit::Color red = kit::Color::sRGB(1, 0, 0, 1);
    const Case cases[] = {
        {"frame", [&] { return (slider->setFrame(kit::Rect(10, 40, 250, 21)), slider); }},
        {"hidden", [&] { return (button->setHidden(true), button); }},
        {"enabled", [&] { return (slider->setEnabled(false), slider); }},
        {"font", [&] { return (field->setFont(kit::Font::systemFontOfSize(11)), field); }},
        {"title", [&] { return (button->setTitle("Quit"), button); }},
        {"button type", [&] { return (button->setButtonType(kit::ButtonType::Switch), button); }},
        {"state", [&] { return (button->setState(kit::ControlStateValue::On), button); }},
        {"click",
         [&] {
             button->setButtonType(kit::ButtonType::Switch);
             world().clearShownStateChanges();
             return (button->performClick(nullptr), button);
         }},
        {"string", [&] { return (field->setStringValue("Idle"), field); }},
        {"editable", [&] { return (field->setEditable(false), field); }},
        {"bezeled", [&] { return (field->setBezeled(false), field); }},
        {"bordered", [&] { return (field->setBordered(true), field); }},
        {"selectable", [&] { return (field->setSelectable(false), field); }},
        {"background", [&] { return (field->setDrawsBackground(false), field); }},
        {"slider value", [&] { return (slider->setDoubleValue(0.5), slider); }},
        {"knob", [&] { return (slider->moveKnob(0.25), slider); }},
        {"minimum", [&] { return (slider->setMinValue(0.1), slider); }},
        {"maximum", [&] { return (slider->setMaxValue(2.0), slider); }},
        {"colour", [&] { return (well->setColor(red), well); }},
        {"pick", [&] { return (well->pickColor(red), well); }},
        {"item", [&] { return (popUp->addItemWithTitle("Daily"), popUp); }},
        {"selection",
         [&] {
             popUp->addItemWithTitle("A");
             popUp->addItemWithTitle("B");
             world().clearShownStateChanges();
             return (popUp->selectItemAtIndex(1), popUp);
         }},
        {"pulls down", [&] { return (popUp->setPullsDown(true), popUp); }},
        {"box title", [&] { return (box->setTitle("Colours"), box); }},
        {"window title", [&] { return (window.setTitle("Awning Settings"), &window); }},
    };
    for (const auto& c : cases) {
        world().clearShownStateChanges();
        const kit::Object* changed = c.change();
        ASSERT_FALSE(changes().empty()) << c.name;
        EXPECT_EQ(changes().back(), changed) << c.name;
    }
}

TEST_F(ShownStateTest, APeerHearsOfAddedViewsAndReplacedContentButNothingBeforeItExists) {
    kit::View* group = add<kit::View>(*box->contentView(), kit::Rect(0, 0, 50, 50));
    EXPECT_EQ(changes(), (std::vector<const kit::Object*>{group})) << "the view added, not its superview";

    world().clearShownStateChanges();
    window.setContentView(std::make_unique<kit::View>(kit::Rect(0, 0, 400, 300)));
    EXPECT_EQ(changes(), (std::vector<const kit::Object*>{&window}));

    kit::Window unshown(kit::Rect(0, 0, 100, 100), kit::WindowStyleMaskTitled,
                        kit::BackingStoreType::Buffered, false);
    world().clearShownStateChanges();
    world().clearWindowEvents();
    unshown.setTitle("Later");
    unshown.contentView()->setHidden(true);
    EXPECT_TRUE(changes().empty()) << "a peer reads everything when it is made";
    EXPECT_EQ(world().windowEvents().size(), 0u) << "nor is one made for a title";
}
