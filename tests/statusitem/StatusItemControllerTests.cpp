#include <gtest/gtest.h>

#include "kit/appkit/Menu.h"
#include "kit/appkit/StatusBar.h"
#include "kit/appkit/StatusItem.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Image.h"
#include "statusitem/KRStatusItemController.h"
#include "support/HeadlessTest.h"

namespace {

struct FillingDelegate final : kit::MenuDelegate {
    void menuNeedsUpdate(kit::Menu&) override {}
};

// A controller of the test's own, to see what ending one does.
struct OwnController final : KRStatusItemController {};

std::shared_ptr<kit::Image> imageOfWidth(double width) {
    return std::make_shared<kit::Image>(kit::Size{width, 22.0});
}

class StatusItemControllerTest : public HeadlessTest {
protected:
    KRStatusItemController& controller() { return KRStatusItemController::defaultController(); }
    std::size_t activations() { return world().activationCount(); }
};

TEST_F(StatusItemControllerTest, TheLengthIsTheImageWidthOrTheWishedWidthUpTo100) {
    struct Case {
        kit::SystemVersion version;
        std::optional<std::int64_t> wished;
        double imageWidth;
        double length;
    };
    for (const Case& c : {Case{{11}, std::nullopt, 22, 22}, Case{{10, 15}, std::nullopt, 22, 30},
                          Case{{26}, 150, 22, 100}, Case{{26}, 10, 22, 22}, Case{{26}, 150, 120, 100},
                          Case{{26}, 60, 22, 60}, Case{{10, 15}, 25, 22, 30}}) {
        SCOPED_TRACE(testing::Message() << c.version.major() << " wished " << c.wished.value_or(-1));
        restart();
        kit::SystemVersion::setCurrent(c.version);
        if (c.wished) {
            kit::UserDefaults::standard().setInteger(*c.wished, "KRStatusItemWidth");
        }
        controller().setStatusItemEnabled(true, imageOfWidth(c.imageWidth), imageOfWidth(c.imageWidth),
                                          nullptr);
        ASSERT_NE(controller().statusItem(), nullptr);
        EXPECT_EQ(controller().statusItem()->length(), c.length);
    }
}

TEST_F(StatusItemControllerTest, ANewItemIsNamedHighlightedAndHoldsItsDelegatesMenu) {
    FillingDelegate delegate;
    const auto image = imageOfWidth(22);
    controller().setStatusItemEnabled(true, image, nullptr, &delegate);
    const kit::StatusItem& item = *controller().statusItem();
    EXPECT_EQ(item.image(), image);
    EXPECT_EQ(item.alternateImage(), nullptr) << "the application has no alternate image";
    EXPECT_TRUE(item.highlightMode());
    EXPECT_EQ(item.autosaveName(), "com.larkspur.Awning.StatusItem");
    ASSERT_NE(item.menu(), nullptr);
    EXPECT_EQ(item.menu()->title(), "Awning Status Item");
    EXPECT_EQ(item.menu()->delegate(), &delegate);
    EXPECT_EQ(kit::StatusBar::systemStatusBar().items().size(), 1u);
}

TEST_F(StatusItemControllerTest, EnablingAgainUpdatesTheItemInPlace) {
    kit::UserDefaults::standard().setInteger(40, "KRStatusItemWidth");
    controller().setStatusItemEnabled(true, imageOfWidth(22), imageOfWidth(22), nullptr);
    kit::StatusItem* item = controller().statusItem();
    kit::UserDefaults::standard().setInteger(80, "KRStatusItemWidth");
    const auto image = imageOfWidth(30);
    const auto alternate = imageOfWidth(30);
    FillingDelegate later;
    controller().setStatusItemEnabled(true, image, alternate, &later);
    EXPECT_EQ(controller().statusItem(), item);
    EXPECT_EQ(item->length(), 40);
    EXPECT_EQ(item->image(), image);
    EXPECT_EQ(item->alternateImage(), alternate);
    EXPECT_EQ(item->menu(), nullptr) << "a delegate added later makes no menu";

    FillingDelegate first;
    controller().setStatusItemEnabled(false, nullptr, nullptr, nullptr, false);
    controller().setStatusItemEnabled(true, image, alternate, &first);
    controller().setStatusItemEnabled(true, image, alternate, &later);
    EXPECT_EQ(controller().statusItem()->menu()->delegate(), &later);
}

TEST_F(StatusItemControllerTest, DisablingRemovesTheItemAndActivatesOnlyWhenAsked) {
    controller().setStatusItemEnabled(false);
    EXPECT_EQ(activations(), 0u) << "nothing to disable";
    controller().setStatusItemEnabled(true, imageOfWidth(22), nullptr, nullptr);
    controller().setStatusItemEnabled(false, nullptr, nullptr, nullptr, false);
    EXPECT_EQ(activations(), 0u);
    EXPECT_EQ(controller().statusItem(), nullptr);
    EXPECT_EQ(controller().statusItemWindow(), nullptr);
    EXPECT_TRUE(kit::StatusBar::systemStatusBar().items().empty());
    controller().setStatusItemEnabled(true, imageOfWidth(22), nullptr, nullptr);
    controller().setStatusItemEnabled(false);
    EXPECT_EQ(activations(), 1u);

    {
        OwnController own;
        own.setStatusItemEnabled(true, imageOfWidth(22), nullptr, nullptr);
    }
    EXPECT_TRUE(kit::StatusBar::systemStatusBar().items().empty());
    EXPECT_EQ(activations(), 1u) << "ending a controller does not activate";
}

TEST_F(StatusItemControllerTest, TheItemsWindowComesFromItsButtonOrTheOlderAccessor) {
    for (const kit::SystemVersion version : {kit::SystemVersion(26), kit::SystemVersion(10, 9)}) {
        restart();
        kit::SystemVersion::setCurrent(version);
        controller().setStatusItemEnabled(true, imageOfWidth(22), nullptr, nullptr);
        EXPECT_NE(controller().statusItemWindow(), nullptr);
        EXPECT_EQ(controller().statusItem()->autosaveName().empty(), !version.isAtLeast(10, 13));
    }
}

}  // namespace
