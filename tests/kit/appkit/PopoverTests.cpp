#include <gtest/gtest.h>

#include "kit/appkit/Popover.h"
#include "kit/appkit/Window.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"

namespace {

using kit::Rect;
using kit::RectEdge;

const kit::Size popoverSize{180, 100};
const Rect wholeScreen(0, 0, 1440, 900);

struct PlacementCase {
    const char* fault;  // what a wrong placement would get wrong
    Rect anchor;
    RectEdge edge;
    Rect screen;
    Rect expected;
};

}  // namespace

TEST(PopoverPlacement, OpensAgainstItsAnchorAndStaysOnTheScreen) {
    const PlacementCase cases[] = {
        {"centred below the anchor, touching it", Rect(100, 500, 40, 20), RectEdge::MinY, wholeScreen,
         Rect(30, 400, 180, 100)},
        {"past the right edge: shifted left along the anchor", Rect(1400, 500, 30, 20), RectEdge::MinY,
         wholeScreen, Rect(1260, 400, 180, 100)},
        {"past the left edge: shifted right", Rect(0, 500, 20, 20), RectEdge::MinY, wholeScreen,
         Rect(0, 400, 180, 100)},
        {"no room below: opened above instead", Rect(100, 50, 40, 20), RectEdge::MinY, wholeScreen,
         Rect(30, 70, 180, 100)},
        {"the visible frame's bottom (a bottom panel) counts, not the screen's",
         Rect(100, 120, 40, 20), RectEdge::MinY, Rect(0, 40, 1440, 836), Rect(30, 140, 180, 100)},
        {"no room above: opened below instead", Rect(100, 850, 40, 20), RectEdge::MaxY, wholeScreen,
         Rect(30, 750, 180, 100)},
        {"no room on the right: opened on the left", Rect(1350, 400, 20, 20), RectEdge::MaxX, wholeScreen,
         Rect(1170, 360, 180, 100)},
        {"no room on either side: kept inside all the same", Rect(100, 60, 40, 20), RectEdge::MinY,
         Rect(0, 0, 1440, 120), Rect(30, 0, 180, 100)},
        {"exactly against the bottom edge still fits below", Rect(100, 100, 40, 20), RectEdge::MinY,
         wholeScreen, Rect(30, 0, 180, 100)},
    };
    for (const PlacementCase& c : cases) {
        EXPECT_EQ(kit::Popover::placement(c.anchor, popoverSize, c.edge, c.screen), c.expected) << c.fault;
    }
}

class PopoverTest : public HeadlessTest {
protected:
    PopoverTest() {
        world().setScreens({headless::HeadlessHost::plainScreen(1440, 900)});
        anchor = window.contentView()->addSubview(std::make_unique<kit::View>(Rect(360, 270, 30, 20)));
        anchor->setAutoresizingMask(kit::ViewMinXMargin);  // pinned to the right, as a titlebar button
        auto controller = std::make_shared<kit::ViewController>();
        controller->setView(std::make_unique<kit::View>(Rect(kit::Point{}, popoverSize)));
        popover.setContentViewController(std::move(controller));
    }
    void show() { popover.showRelativeToRect(anchor->bounds(), *anchor, RectEdge::MinY); }

    kit::Window window{Rect(100, 500, 400, 300), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       false};
    kit::View* anchor = nullptr;
    kit::Popover popover;
};

TEST_F(PopoverTest, ItsWindowBelongsToTheAnchorsWindowAndFollowsIt) {
    window.makeKeyAndOrderFront(nullptr);
    show();
    ASSERT_TRUE(popover.isShown());
    kit::Window& shown = *popover.window();
    EXPECT_EQ(shown.parentWindow(), &window);
    EXPECT_EQ(shown.level(), kit::NormalWindowLevel) << "its parent keeps it above, not a level over all";
    EXPECT_EQ(shown.frame(), Rect(385, 670, 180, 100));
    EXPECT_TRUE(window.isKeyWindow()) << "the window it points into keeps the keyboard";

    window.setFrame(Rect(50, 450, 400, 300), true);
    EXPECT_EQ(shown.frame(), Rect(335, 620, 180, 100)) << "moved with its anchor";
    window.setFrame(Rect(50, 450, 300, 300), true);
    EXPECT_EQ(shown.frame(), Rect(235, 620, 180, 100)) << "a resize that moves the anchor re-places it";
    window.setFrame(Rect(1200, 450, 300, 300), true);
    EXPECT_EQ(shown.frame(), Rect(1260, 620, 180, 100)) << "kept on the screen when the anchor nears its edge";

    popover.close();
    window.setFrame(Rect(0, 0, 400, 300), true);
    EXPECT_FALSE(popover.isShown());
}

TEST_F(PopoverTest, AnAnchorTakenOutOfItsWindowLeavesThePopoverWhereItWas) {
    window.makeKeyAndOrderFront(nullptr);
    show();
    const Rect before = popover.window()->frame();
    anchor->removeFromSuperview();  // destroyed: the popover must not read it again
    window.setFrame(Rect(50, 450, 400, 300), true);
    EXPECT_EQ(popover.window()->frame(), before);
}

TEST_F(PopoverTest, AParentGoneBeforeItsPopoverWindowIsForgotten) {
    auto parent = std::make_unique<kit::Window>(Rect(0, 0, 100, 100), kit::WindowStyleMaskTitled,
                                                kit::BackingStoreType::Buffered, false);
    kit::Window child(Rect(0, 0, 10, 10), kit::WindowStyleMaskBorderless, kit::BackingStoreType::Buffered, false);
    child.setParentWindow(parent.get());
    parent.reset();
    EXPECT_EQ(child.parentWindow(), nullptr);
}
