#include <gtest/gtest.h>

#include <optional>

#include "kit/foundation/SystemVersion.h"
#include "kit/graphics/Image.h"
#include "support/HeadlessTest.h"
#include "update/KRSparkleWrapper.h"

namespace {

using kit::Bitmap;
using kit::Color;

// Pixel rectangles, rows from the top, inclusive.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "[" << box.left << "…" << box.right << "] × [" << box.top << "…" << box.bottom << "]";
}

template <class Predicate>
Box boxOf(const Bitmap& pixels, Predicate covered) {
    Box box;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            if (covered(pixels.pixel(x, y))) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
            }
        }
    }
    return box;
}

const auto isOpaque = [](const Bitmap::RGBA8& pixel) { return pixel.alpha > 127; };
const auto isWhitish = [](const Bitmap::RGBA8& pixel) {
    return pixel.alpha > 200 && pixel.red > 200 && pixel.green > 200 && pixel.blue > 200;
};
const auto isReddish = [](const Bitmap::RGBA8& pixel) {
    return pixel.red > 150 && pixel.green < 80 && pixel.blue < 80;
};

class UpdateIconTest : public HeadlessTest {
protected:
    // An opaque square glyph registered as `name`.
    static void registerSquareGlyph(const std::string& name) {
        Bitmap pixels(8, 8);
        pixels.fill({0, 0, 0, 255});
        kit::Image::imageWithBitmap(std::move(pixels), {8.0, 8.0})->setName(name);
    }
    static Bitmap render(const std::shared_ptr<kit::Image>& icon) { return icon->bitmapForScale(1.0); }
    static Bitmap disk(double size, const std::string& glyph, double inset,
                       std::optional<Color> highlight = {}, std::optional<Color> border = {}) {
        return render(KRSparkleWrapper::diskIconNamed(glyph, size, inset, highlight, border, std::nullopt));
    }
};

TEST_F(UpdateIconTest, AMissingGlyphLeavesTheBareDiskWithinTheMargin) {
    struct Case {
        double size;
        Box disk;
    };
    for (const Case& c : {Case{16, {3, 3, 12, 12}}, Case{17, {3, 3, 13, 13}}, Case{32, {4, 4, 27, 27}},
                          Case{128, {12, 12, 115, 115}}}) {
        SCOPED_TRACE(c.size);
        const Bitmap pixels = disk(c.size, "NoSuchGlyph", 0.0);
        EXPECT_EQ(boxOf(pixels, isOpaque), c.disk);
        const int middle = pixels.width() / 2;
        EXPECT_EQ(pixels.pixel(middle, middle), (Bitmap::RGBA8{51, 102, 255, 255}))
            << "the default disk colour";
        EXPECT_EQ(pixels.pixel(0, 0).alpha, 0);
    }
}

TEST_F(UpdateIconTest, TheGlyphIsDrawnWhiteIntoTheInsetCircleSquareWithAShadow) {
    registerSquareGlyph("Square");
    // Size 32: margin 2, so the circle's square is (2, 2, 28, 28); inset 6 leaves the glyph 16 points.
    const Bitmap pixels = disk(32, "Square", 6.0);
    EXPECT_EQ(boxOf(pixels, isWhitish), (Box{8, 8, 23, 23}));
    EXPECT_GT(pixels.pixel(16, 9).blue, pixels.pixel(16, 22).blue) << "shaded towards the bottom";
    EXPECT_LT(pixels.pixel(7, 16).blue + 15, pixels.pixel(5, 16).blue) << "the shadow darkens the disk";
    // A negative inset enlarges the glyph beyond the circle's square, where it is not coloured.
    const Bitmap enlarged = disk(32, "Square", -1.0);
    EXPECT_EQ(boxOf(enlarged, isOpaque), (Box{1, 1, 30, 30}));
    EXPECT_EQ(boxOf(enlarged, isWhitish), (Box{2, 2, 29, 29}));
}

TEST_F(UpdateIconTest, TheBorderShowsWhereTheGlyphCoversTheCircleInTheSizesWidth) {
    registerSquareGlyph("Square");
    struct Case {
        double size;
        int margin;
        int borderPixels;  // half the line lies inside the circle
    };
    for (const Case& c : {Case{16, 1, 1}, Case{16.9, 1, 1}, Case{17, 1, 2}, Case{32, 2, 2}}) {
        SCOPED_TRACE(c.size);
        const Bitmap pixels = disk(c.size, "Square", 0.0, std::nullopt, Color::calibratedRGB(1, 0, 0, 1));
        const int row = pixels.height() / 2;
        int red = 0;
        while (isReddish(pixels.pixel(c.margin + red, row))) {
            ++red;
        }
        EXPECT_EQ(red, c.borderPixels);
        EXPECT_FALSE(isReddish(pixels.pixel(c.margin - 1, row))) << "nothing outside the glyph";
    }
}

TEST_F(UpdateIconTest, AHighlightColourChangesOnlyTheDisk) {
    registerSquareGlyph("Square");
    const Bitmap plain = disk(32, "Square", 6.0);
    const Bitmap green = disk(32, "Square", 6.0, Color::calibratedRGB(0, 1, 0, 1));
    EXPECT_NE(plain.pixel(5, 16), green.pixel(5, 16)) << "the disk";
    EXPECT_EQ(plain.pixel(16, 16), green.pixel(16, 16)) << "the glyph";
    EXPECT_EQ(plain.pixel(3, 3), green.pixel(3, 3)) << "outside the disk";
}

TEST_F(UpdateIconTest, TheUpdateIconEnlargesTheRefreshGlyphOnNewerSystems) {
    registerSquareGlyph(kit::Image::RefreshFreestandingTemplate);
    struct Case {
        kit::SystemVersion version;
        double size;
        Box glyph;
    };
    for (const Case& c : {Case{{13}, 32, {1, 1, 30, 30}}, Case{{12}, 32, {0, 0, 31, 31}},
                          Case{{11}, 32, {0, 0, 31, 31}}, Case{{10, 15}, 32, {2, 2, 29, 29}},
                          Case{{26}, 16, {1, 1, 14, 14}}, Case{{13}, 17, {0, 0, 16, 16}}}) {
        SCOPED_TRACE(testing::Message() << c.version.major() << "." << c.version.minor() << " at " << c.size);
        kit::SystemVersion::setCurrent(c.version);
        EXPECT_EQ(boxOf(render(KRSparkleWrapper::updateIconWithSize(c.size)), isOpaque), c.glyph);
    }
}

TEST_F(UpdateIconTest, TheIconIsDrawnAgainForEachNewResolution) {
    const auto icon = KRSparkleWrapper::updateIconWithSize(16);
    EXPECT_EQ(icon->size(), (kit::Size{16, 16}));
    const Bitmap single = icon->bitmapForScale(1.0);
    const Bitmap twice = icon->bitmapForScale(2.0);
    EXPECT_EQ(single.width(), 16);
    EXPECT_EQ(twice.width(), 32);
    EXPECT_GT(boxOf(twice, isWhitish).right, 16) << "the system's refresh glyph is drawn";
}

}  // namespace
