#include <gtest/gtest.h>

#include "kit/appkit/Archiver.h"
#include "kit/foundation/UserDefaults.h"
#include "support/HeadlessTest.h"
#include "tint/CurrentDesktopKey.h"
#include "tint/KRTintWindow.h"

using kit::Color;

class ColorStoreTest : public HeadlessTest {
protected:
    static std::optional<Color> storedColor(const std::string& key) {
        auto value = kit::UserDefaults::standard().objectForKey(key);
        if (!value || !value->data()) {
            return std::nullopt;
        }
        auto object = kit::unarchiveObjectWithData(*value->data());
        return object ? std::optional<Color>(std::get<Color>(*object)) : std::nullopt;
    }
    const Color red = Color::sRGB(1, 0, 0, 0.8);
    const Color green = Color::deviceRGB(0, 1, 0, 0.5);
    const Color blue = Color::calibratedRGB(0, 0, 1, 1);
};

TEST_F(ColorStoreTest, BeforeTheFirstCheckOnlySharedKeysAreUsed) {
    KRTintWindow::setTopColor(red);
    EXPECT_EQ(kit::UserDefaults::standard().dictionaryRepresentation().size(), 1u);
    EXPECT_EQ(storedColor("Top Color"), red);
    EXPECT_EQ(KRTintWindow::topColor(), red);
}

TEST_F(ColorStoreTest, ColoursAreKeptPerPictureWithTheLatestAsSharedFallback) {
    setCurrentDesktopKey("file:///a.jpg");
    KRTintWindow::setCenterColor(red);
    EXPECT_EQ(storedColor("Center Color: file:///a.jpg"), red);
    EXPECT_EQ(storedColor("Center Color"), red);

    // B has none of its own: it shows A's through the shared key.
    setCurrentDesktopKey("file:///b.jpg");
    EXPECT_EQ(KRTintWindow::centerColor(), red);
    KRTintWindow::setCenterColor(green);
    EXPECT_EQ(KRTintWindow::centerColor(), green);

    // A keeps its own although the shared key now holds B's colour.
    setCurrentDesktopKey("file:///a.jpg");
    EXPECT_EQ(KRTintWindow::centerColor(), red);
    EXPECT_EQ(storedColor("Center Color"), green);

    // A picture never given colours shows the latest choice; the unknown picture has keys of its own.
    setCurrentDesktopKey("(Unknown)");
    EXPECT_EQ(KRTintWindow::centerColor(), green);
    KRTintWindow::setBottomColor(blue);
    EXPECT_EQ(storedColor("Bottom Color: (Unknown)"), blue);
}

TEST_F(ColorStoreTest, ColoursSurviveARestartExactly) {
    setCurrentDesktopKey("file:///a.jpg");
    const Color odd = Color::calibratedRGB(0.1, 0.2, 0.30000000000000004, 0.123456789);
    KRTintWindow::setTopColor(odd);
    restart();
    EXPECT_FALSE(currentDesktopKey().has_value()) << "a new process starts without a desktop key";
    EXPECT_EQ(KRTintWindow::topColor(), odd);
}

// Missing or unreadable, a stop is black with its own alpha, and what was stored stays.
TEST_F(ColorStoreTest, MissingOrUnreadableValuesGiveTheDefaultAndStayStored) {
    auto& defaults = kit::UserDefaults::standard();
    for (const bool unreadable : {false, true}) {
        if (unreadable) {
            defaults.setObject(kit::PropertyList::Data{'n', 'o', 'p', 'e'}, "Top Color");
            defaults.setObject("not data at all", "Center Color");
            defaults.setObject(*kit::archivedDataWithRootObject(std::string("a string, not a colour")),
                               "Bottom Color");
        }
        EXPECT_EQ(KRTintWindow::topColor(), Color::calibratedWhite(0.0, 0.0)) << unreadable;
        EXPECT_EQ(KRTintWindow::centerColor(), Color::calibratedWhite(0.0, 0.2)) << unreadable;
        EXPECT_EQ(KRTintWindow::bottomColor(), Color::calibratedWhite(0.0, 1.0)) << unreadable;
    }
    EXPECT_EQ(defaults.dictionaryRepresentation().size(), 3u);
}
