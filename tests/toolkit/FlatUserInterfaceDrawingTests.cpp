#include <gtest/gtest.h>

#include "kit/appkit/Appearance.h"
#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/MenuItem.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TabView.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/graphics/Image.h"
#include "support/HeadlessTest.h"
#include "toolkit/FlatUserInterfaceDrawing.h"

namespace {

// A regular button 22 high puts its title at y 3 in the headless world's metrics.
constexpr double titleY = 3.0;

class FlippedView : public kit::View {
public:
    using View::View;
    bool isFlipped() const override { return true; }
};

template <class T, class... Arguments>
T& add(kit::View& superview, Arguments&&... arguments) {
    return static_cast<T&>(*superview.addSubview(std::make_unique<T>(std::forward<Arguments>(arguments)...)));
}

kit::Rect buttonFrame(double y = 10.0) {
    return kit::Rect(0, y, 100, 22);
}

class FlatUserInterfaceDrawingTest : public HeadlessTest {};

}  // namespace

TEST_F(FlatUserInterfaceDrawingTest, DarkModeFollowsTheBestMatchOfTheEffectiveAppearance) {
    struct Case {
        int major, minor;
        const char* appearance;
        bool defaultValue;
        bool dark;
    };
    const Case cases[] = {
        {10, 13, kit::AppearanceNameDarkAqua, true, true},
        {10, 13, kit::AppearanceNameDarkAqua, false, false},
        {10, 14, kit::AppearanceNameAqua, true, false},
        {10, 14, kit::AppearanceNameDarkAqua, false, true},
        {26, 0, kit::AppearanceNameVibrantDark, false, true},
        {26, 0, kit::AppearanceNameVibrantLight, true, false},
        {26, 0, kit::AppearanceNameAccessibilityHighContrastDarkAqua, false, true},
        {26, 0, "Custom", true, false},
    };
    kit::View superview(kit::Rect(0, 0, 10, 10));
    kit::View& view = add<kit::View>(superview, kit::Rect(0, 0, 5, 5));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " " << c.appearance);
        kit::SystemVersion::setCurrent(kit::SystemVersion(c.major, c.minor));
        superview.setAppearance(kit::Appearance::appearanceNamed(c.appearance));
        EXPECT_EQ(isInFullyInvertedDarkMode(view, c.defaultValue), c.dark);
    }
    view.setAppearance(kit::Appearance::appearanceNamed(kit::AppearanceNameAqua));
    EXPECT_FALSE(isInFullyInvertedDarkMode(view)) << "a view's own appearance wins";
}

TEST_F(FlatUserInterfaceDrawingTest, RegularButtonsTitlesMoveToTheReferenceThroughBoxesAndEveryTab) {
    kit::View container(kit::Rect(0, 0, 400, 300));
    auto& popUp = add<kit::PopUpButton>(container, buttonFrame(), false);
    auto& push = add<kit::Button>(container, buttonFrame());
    auto& small = add<kit::Button>(container, buttonFrame());
    small.setControlSize(kit::ControlSize::Small);
    auto& inSmall = add<kit::PopUpButton>(small, buttonFrame(), false);
    correctBaselineForLegacyPositionPopUpButtonSubviews(container, titleY + 3.0);
    EXPECT_EQ(popUp.frame(), buttonFrame(10.0 - 3.0)) << "unflipped: down by the difference";
    EXPECT_EQ(push.frame(), buttonFrame()) << "plain buttons are left alone";
    EXPECT_EQ(small.frame(), buttonFrame());
    EXPECT_EQ(inSmall.frame(), buttonFrame(7.0)) << "a small button's subviews are visited";

    correctBaselineForLegacyPositionSubviews(container, titleY + 0.05, titleY + 0.25);
    EXPECT_EQ(popUp.frame(), buttonFrame(7.0)) << "within a tenth of a point: no move";
    EXPECT_EQ(push.frame(), buttonFrame(10.0 - 0.25));

    FlippedView flipped(kit::Rect(0, 0, 400, 300));
    auto& inFlipped = add<kit::PopUpButton>(flipped, buttonFrame(), false);
    correctBaselineForLegacyPositionPopUpButtonSubviews(flipped, titleY + 1.0);
    EXPECT_EQ(inFlipped.frame(), buttonFrame(11.0));

    kit::View window(kit::Rect(0, 0, 400, 300));
    auto& box = add<kit::Box>(window, kit::Rect(0, 0, 400, 300));
    auto& tabs = add<kit::TabView>(*box.contentView(), kit::Rect(0, 0, 400, 300));
    std::vector<kit::Button*> buttons;
    for (const char* label : {"One", "Two"}) {
        auto pane = std::make_unique<kit::View>(kit::Rect(0, 0, 400, 300));
        buttons.push_back(&add<kit::Button>(*pane, buttonFrame()));
        tabs.addTabViewItem(label, std::move(pane));
    }
    correctBaselineForLegacyPositionSubviews(window, titleY, titleY + 2.0);
    for (kit::Button* button : buttons) {
        EXPECT_EQ(button->frame(), buttonFrame(8.0)) << "shown or not";
    }
}

TEST_F(FlatUserInterfaceDrawingTest, SymbolImagesComeOnlyFromMacOS26AndKeepAnEarlierImageUnlessForced) {
    kit::MenuItem item("Check");
    kit::SystemVersion::setCurrent(kit::SystemVersion(15));
    EXPECT_FALSE(setMacOS26ImageWithSystemSymbolName(item, "arrow.clockwise", true));
    kit::SystemVersion::setCurrent(kit::SystemVersion(26));
    EXPECT_FALSE(setMacOS26ImageWithSystemSymbolName(item, "no.such.symbol"));
    EXPECT_EQ(item.image(), nullptr);
    EXPECT_TRUE(setMacOS26ImageWithSystemSymbolName(item, "arrow.clockwise"));
    ASSERT_NE(item.image(), nullptr);
    EXPECT_EQ(item.image()->symbolConfiguration(), (kit::SymbolConfiguration{13.0, 0.23}));

    EXPECT_FALSE(setMacOS26ImageWithSystemSymbolName(item, "binoculars"));
    EXPECT_EQ(item.image()->symbolName(), "arrow.clockwise");
    EXPECT_TRUE(setMacOS26ImageWithSystemSymbolName(item, "binoculars", true));
    EXPECT_EQ(item.image()->symbolName(), "binoculars");
}
