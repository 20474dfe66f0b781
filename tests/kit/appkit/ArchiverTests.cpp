#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "kit/appkit/Archiver.h"

namespace {

using Data = kit::PropertyList::Data;

// Bit patterns, so that NaN payloads and the sign of zero count.
std::vector<std::uint64_t> bits(const kit::Color& color) {
    std::vector<std::uint64_t> result{static_cast<std::uint64_t>(color.space())};
    for (std::size_t i = 0; i < color.componentCount(); ++i) {
        result.push_back(std::bit_cast<std::uint64_t>(color.component(i)));
    }
    result.push_back(std::bit_cast<std::uint64_t>(color.alpha()));
    return result;
}

Data archive(const kit::ArchivedObject& object) {
    return kit::archivedDataWithRootObject(object).value();
}

bool decodes(const Data& data) {
    return kit::unarchiveObjectWithData(data).has_value();
}

}  // namespace

TEST(ArchiverTest, ColoursRoundTripBitExactInEverySpace) {
    const double nan = std::bit_cast<double>(std::uint64_t{0xFFF800000000BEEF});
    const double infinity = std::numeric_limits<double>::infinity();
    for (const kit::Color& color :
         {kit::Color::calibratedWhite(-0.0, 0.0), kit::Color::deviceWhite(1.5, -0.25),
          kit::Color::calibratedRGB(0.1, 0.2, 0.3, 1.0), kit::Color::deviceRGB(-1.0, 2.0, 1e-300, 0.0),
          kit::Color::sRGB(nan, infinity, -infinity, nan)}) {
        const auto object = kit::unarchiveObjectWithData(archive(color));
        ASSERT_TRUE(object && std::holds_alternative<kit::Color>(*object));
        EXPECT_EQ(bits(std::get<kit::Color>(*object)), bits(color));
    }

    // Stored settings outlive program versions: this layout must keep decoding.
    const Data whiteAlphaPointTwo = {'A', 'W', 'N', 'A', 1,    1,    1,    1,    0,    0,    0,    0,
                                     0,   0,   0,   0,   0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xC9, 0x3F};
    EXPECT_EQ(archive(kit::Color::calibratedWhite(0.0, 0.2)), whiteAlphaPointTwo);
}

TEST(ArchiverTest, StringsRoundTripAndInvalidUTF8IsRefused) {
    for (const std::string string : {"", "Top Color", "Grüße, 東京 🌅", "\U0010FFFF"}) {
        EXPECT_EQ(kit::unarchiveObjectWithData(archive(string)), kit::ArchivedObject(string));
    }
    // Truncated, overlong, the first and last surrogate, above U+10FFFF, a five-byte lead, a stray byte.
    for (const std::string invalid : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80",
                                      "\xF8\x90\x80\x80", "a\xFFz"}) {
        EXPECT_FALSE(kit::archivedDataWithRootObject(invalid)) << testing::PrintToString(invalid);
        Data data = archive("");
        data[6] = static_cast<std::uint8_t>(invalid.size());
        data.insert(data.end(), invalid.begin(), invalid.end());
        EXPECT_FALSE(decodes(data)) << testing::PrintToString(invalid);
    }
}

TEST(ArchiverTest, AnythingButAnExactArchiveDecodesToNothing) {
    const Data color = archive(kit::Color::sRGB(0.1, 0.2, 0.3, 0.4));
    const Data string = archive("menubar");
    EXPECT_FALSE(decodes({}));
    for (const Data& valid : {color, string}) {
        for (std::size_t length = 0; length < valid.size(); ++length) {
            EXPECT_FALSE(decodes(Data(valid.begin(), valid.begin() + length))) << "truncated to " << length;
        }
        Data longer = valid;
        longer.push_back(0);
        EXPECT_FALSE(decodes(longer));
    }
    const auto corrupted = [](Data data, std::size_t index, std::uint8_t value) {
        data[index] = value;
        return decodes(data);
    };
    EXPECT_FALSE(corrupted(color, 0, 'B'));    // magic
    EXPECT_FALSE(corrupted(color, 4, 2));      // format version
    EXPECT_FALSE(corrupted(color, 5, 3));      // kind
    EXPECT_FALSE(corrupted(color, 6, 0));      // colour space
    EXPECT_FALSE(corrupted(color, 7, 255));    // component count
    EXPECT_FALSE(corrupted(string, 5, 1));     // a string read as a colour
    EXPECT_FALSE(corrupted(string, 6, 8));     // string length, one too many
    EXPECT_FALSE(corrupted(string, 9, 0xFF));  // string length near 2^32
}

TEST(ArchiverTest, AComponentCountOtherThanTheSpacesIsNoColour) {
    const std::pair<std::uint8_t, std::uint8_t> spaceAndCount[] = {{1, 0}, {1, 3}, {2, 2}, {3, 1},
                                                                   {4, 0}, {5, 2}, {5, 4}};
    for (const auto& [space, count] : spaceAndCount) {
        // As long as the count says, so only the count itself is wrong.
        Data data = {'A', 'W', 'N', 'A', 1, 1, space, count};
        data.resize(data.size() + 8 * (count + 1), 0);
        EXPECT_FALSE(decodes(data)) << int{space} << " with " << int{count};
    }
}
