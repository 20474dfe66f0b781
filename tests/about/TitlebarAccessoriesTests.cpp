#include <gtest/gtest.h>

#include "about/TitlebarAccessories.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/SystemVersion.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"

namespace {

class TitlebarAccessoriesTest : public HeadlessTest {
protected:
    kit::Window window{kit::Rect(0, 0, 400, 300), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       false};

    const auto& entries() const { return window.titlebarAccessoryViewControllers(); }
    kit::Size containerSize(std::size_t index) const { return entries().at(index)->view()->frame().size; }
};

TEST_F(TitlebarAccessoriesTest, CorrectsTheSpaceAboveByHeightOnlyFromSystem11WhenAsked) {
    struct Case {
        double height;
        double correctedPadding;
    };
    for (const Case c : {Case{19, 5}, Case{21, 4}, Case{22, 4}, Case{30, 0}, Case{34, 0}}) {
        SCOPED_TRACE(c.height);
        kit::SystemVersion::setCurrent(kit::SystemVersion(11));
        addTitlebarView(window, std::make_unique<kit::View>(kit::Rect()), kit::Size{40, c.height},
                        kit::Size{3, 99}, true);
        EXPECT_EQ(containerSize(entries().size() - 1), (kit::Size{43, c.height + c.correctedPadding}));
        addTitlebarView(window, std::make_unique<kit::View>(kit::Rect()), kit::Size{40, c.height},
                        kit::Size{3, 99}, false);
        EXPECT_EQ(containerSize(entries().size() - 1), (kit::Size{43, c.height + 99}));
        kit::SystemVersion::setCurrent(kit::SystemVersion(10, 15));
        addTitlebarView(window, std::make_unique<kit::View>(kit::Rect()), kit::Size{40, c.height},
                        kit::Size{3, 99});
        EXPECT_EQ(containerSize(entries().size() - 1), (kit::Size{43, c.height + 99}));
    }
}

TEST_F(TitlebarAccessoriesTest, MeasuresNarrowSizesAndTakesOthersAsGiven) {
    auto button = std::make_unique<kit::Button>(kit::Rect(12, 7, 1, 1));
    world().controlPort().setCellSize(*button, kit::Size{50, 20});
    kit::Button* measured = button.get();
    addTitlebarView(window, std::move(button), kit::Size{0.05, 400}, kit::Size{});
    EXPECT_EQ(measured->frame(), kit::Rect(0, 0, 50, 20)) << "measured, moved to the container's origin";
    EXPECT_EQ(measured->autoresizingMask(), kit::ViewMinXMargin | kit::ViewMinYMargin);
    EXPECT_EQ(entries().back()->layoutAttribute(), kit::LayoutAttribute::Right);

    auto plain = std::make_unique<kit::View>(kit::Rect(0, 0, 33, 11));
    kit::View* unmeasurable = plain.get();
    addTitlebarView(window, std::move(plain), kit::Size{}, kit::Size{});
    EXPECT_EQ(unmeasurable->frame(), kit::Rect(0, 0, 33, 11)) << "a plain view keeps its size";

    auto fixed = std::make_unique<kit::Button>(kit::Rect(5, 5, 1, 1));
    kit::Button* sized = fixed.get();
    addTitlebarView(window, std::move(fixed), kit::Size{40, 0}, kit::Size{}, false);
    EXPECT_EQ(sized->frame(), kit::Rect(0, 0, 40, 0));

    addTitlebarView(window, nullptr, kit::Size{}, kit::Size{});
    EXPECT_EQ(entries().size(), 3u) << "no view, no entry";
}

TEST_F(TitlebarAccessoriesTest, AddingAPlacedViewAgainMovesItToANewEntryAtTheEnd) {
    auto first = std::make_unique<kit::View>(kit::Rect(0, 0, 10, 10));
    kit::View* moved = first.get();
    addTitlebarView(window, std::move(first), kit::Size{10, 10}, kit::Size{});
    addTitlebarView(window, std::make_unique<kit::View>(kit::Rect()), kit::Size{20, 10}, kit::Size{});
    const std::weak_ptr<kit::TitlebarAccessoryViewController> oldEntry = entries().front();

    addTitlebarView(window, *moved, kit::Size{10, 10}, kit::Size{}, true);
    ASSERT_EQ(entries().size(), 2u) << "never two entries for one view";
    EXPECT_EQ(titlebarAccessoryViewControllerForView(window, moved), entries().back().get());
    EXPECT_TRUE(oldEntry.expired()) << "the window let go of the old entry";

    kit::View foreignSuperview(kit::Rect(0, 0, 50, 50));
    kit::View* stranger = foreignSuperview.addSubview(std::make_unique<kit::View>(kit::Rect(1, 1, 5, 5)));
    EXPECT_EQ(titlebarAccessoryViewControllerForView(window, stranger), nullptr);
    addTitlebarView(window, *stranger, kit::Size{5, 5}, kit::Size{}, true);
    EXPECT_TRUE(foreignSuperview.subviews().empty()) << "detached from a superview that is no container";
    EXPECT_EQ(entries().size(), 3u);
}

TEST_F(TitlebarAccessoriesTest, RemovingAndDereferencingToleratesNothingToRemove) {
    addTitlebarView(window, std::make_unique<kit::View>(kit::Rect()), kit::Size{10, 10}, kit::Size{});
    kit::View* view = entries().front()->view()->subviews().front().get();
    removeTitlebarView(window, nullptr);
    removeAndDereferenceTitlebarView(window, nullptr);
    kit::View* none = nullptr;
    removeAndDereferenceTitlebarView(window, &none);
    EXPECT_EQ(entries().size(), 1u);

    removeAndDereferenceTitlebarView(window, &view);
    EXPECT_EQ(view, nullptr);
    EXPECT_TRUE(entries().empty());
}

TEST_F(TitlebarAccessoriesTest, ARetinaDisplayIsMoreThanOneAndAHalfTimesDense) {
    for (const auto& [scale, retina] : {std::pair{1.0, false}, {1.5, false}, {2.0, true}}) {
        kit::ScreenDescription screen = headless::HeadlessHost::plainScreen(1440, 900);
        screen.backingScaleFactor = scale;
        world().setScreens({screen});
        EXPECT_EQ(isOnRetinaDisplay(window), retina) << scale;
    }
}

TEST_F(TitlebarAccessoriesTest, StylesButtonsByTheRunningSystem) {
    struct Case {
        kit::SystemVersion version;
        kit::BezelStyle bezel;
        kit::ButtonBorderShape shape;
        kit::ControlSize size;
        double fontSize;
        kit::Size padding;
    };
    // Small buttons are 19 high, mini ones 16, in the headless metrics: 11 centres 19 with 5 above.
    for (const Case c :
         {Case{kit::SystemVersion(26), kit::BezelStyle::RoundRect, kit::ButtonBorderShape::Capsule,
               kit::ControlSize::Small, 10, kit::Size{7, 7}},
          Case{kit::SystemVersion(11), kit::BezelStyle::RoundRect, kit::ButtonBorderShape::Automatic,
               kit::ControlSize::Small, 10, kit::Size{5, 5}},
          Case{kit::SystemVersion(10, 15), kit::BezelStyle::TexturedRounded,
               kit::ButtonBorderShape::Automatic, kit::ControlSize::Mini, 11, kit::Size{2, 3}}}) {
        SCOPED_TRACE(c.version.major());
        kit::SystemVersion::setCurrent(c.version);
        kit::Object target;
        kit::Button* button = addTitlebarButtonWithTitle(window, "Hi!", kit::sel("toggle:"), &target);
        EXPECT_EQ(button->bezelStyle(), c.bezel);
        EXPECT_EQ(button->borderShape(), c.shape);
        EXPECT_EQ(button->controlSize(), c.size);
        EXPECT_EQ(button->font(), kit::Font::systemFontOfSize(c.fontSize));
        const kit::Size size = button->frame().size;
        EXPECT_EQ(containerSize(entries().size() - 1),
                  (kit::Size{size.width + c.padding.width, size.height + c.padding.height}));
    }
}

}  // namespace
