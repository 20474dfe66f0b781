#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <numeric>

#include "kit/foundation/PropertyListSerialization.h"
#include "support/TemporaryFolder.h"

using kit::PropertyList;
using kit::PropertyListSerialization;

namespace {

// 2026-01-05 12:00:00 UTC.
constexpr double January5th2026 = 1767614400.0 - 978307200.0;

PropertyList everyKind() {
    PropertyList::Data bytes(256);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return PropertyList::Dictionary{
        {"true", true},
        {"false", false},
        {"integers", PropertyList::Array{0, std::numeric_limits<std::int64_t>::max(),
                                         std::numeric_limits<std::int64_t>::min()}},
        {"reals", PropertyList::Array{0.1, 1.0 / 3.0, -2.5e-300, DBL_MAX, DBL_TRUE_MIN, 1e16,
                                      std::numeric_limits<double>::infinity()}},
        {"string", "Tom & <Jerry> \"quoted\" 'single' caf\u00e9 \U0001F600\r\n\tend "},
        {"", ""},
        {"data", bytes},
        {"no data", PropertyList::Data{}},
        {"date", PropertyList::Date{January5th2026}},
        {"early date", PropertyList::Date{-31622400.0 * 1000}},
        {"nested", PropertyList::Array{PropertyList::Array{}, PropertyList::Dictionary{},
                                       PropertyList::Dictionary{
                                           {"deeper", PropertyList::Array{PropertyList::Data{7}}}}}},
    };
}

}  // namespace

TEST(PropertyListSerializationTest, EveryKindRoundTripsThroughAFile) {
    TemporaryFolder folder;
    const auto file = folder.path() / "every.plist";
    std::string error;
    ASSERT_TRUE(PropertyListSerialization::writeFile(everyKind(), file, &error)) << error;
    const std::optional<PropertyList> read = PropertyListSerialization::readFile(file, &error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, everyKind());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "no temporary file left";

    const auto nan = PropertyListSerialization::read(PropertyListSerialization::write(std::nan("")));
    ASSERT_TRUE(nan && nan->doubleValue());
    EXPECT_TRUE(std::isnan(*nan->doubleValue()));
}

TEST(PropertyListSerializationTest, WritesThePlatformLayout) {
    const PropertyList value = PropertyList::Dictionary{
        {"Alpha", 0.35},
        {"Flags", PropertyList::Array{true, 12}},
        {"Blob", PropertyList::Data{0, 1, 2, 3}},
        {"When", PropertyList::Date{January5th2026 + 0.75}},
        {"Empty", PropertyList::Dictionary{}},
        {"Text", "a<b"},
    };
    EXPECT_EQ(PropertyListSerialization::write(value),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n"
              "<dict>\n"
              "\t<key>Alpha</key>\n\t<real>0.35</real>\n"
              "\t<key>Blob</key>\n\t<data>\n\tAAECAw==\n\t</data>\n"
              "\t<key>Empty</key>\n\t<dict/>\n"
              "\t<key>Flags</key>\n\t<array>\n\t\t<true/>\n\t\t<integer>12</integer>\n\t</array>\n"
              "\t<key>Text</key>\n\t<string>a&lt;b</string>\n"
              "\t<key>When</key>\n\t<date>2026-01-05T12:00:00Z</date>\n"
              "</dict>\n"
              "</plist>\n");
}

TEST(PropertyListSerializationTest, ReadsWhatThePlatformWrites) {
    const auto read = PropertyListSerialization::read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n"
        "\t<!-- a comment -->\n\t<key>Check Date</key>\n\t<integer> +1767614400 </integer>\n"
        "\t<key>Ratio</key>\n\t<real>1</real>\n"
        "\t<key>Seen</key>\n\t<date>2001-01-01T00:00:00Z</date>\n"
        "\t<key>Leap</key>\n\t<date>2024-02-29T23:59:59Z</date>\n"
        "\t<key>Color</key>\n\t<data>\n\tAAEC\n\tAw==\n\t</data>\n"
        "\t<key>Ratio</key>\n\t<real>-infinity</real>\n</dict>\n</plist>\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->find("Check Date")->integerValue(), 1767614400);
    EXPECT_EQ(*read->find("Seen")->date(), PropertyList::Date{0.0});
    EXPECT_EQ(*read->find("Leap")->date(), PropertyList::Date{730943999.0});
    EXPECT_EQ(*read->find("Color")->data(), (PropertyList::Data{0, 1, 2, 3}));
    EXPECT_EQ(read->find("Ratio")->doubleValue(), -std::numeric_limits<double>::infinity())
        << "of two equal keys the last wins";
}

TEST(PropertyListSerializationTest, MalformedDocumentsFailWithAReason) {
    std::string nested = "<plist>";
    for (int i = 0; i < 600; ++i) {
        nested += "<array>";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"", "Premature end"},
        {"<plist version=\"1.0\"><dict><key>a</key><string>b", "Premature end"},
        {"<plist><dict><key>a</key></dict></plist>", "the key \"a\" has no value"},
        {"<plist><dict><string>a</string></dict></plist>", "expected <key> in <dict>"},
        {"<plist><blob/></plist>", "unknown element <blob>"},
        {"<plist><integer>12x</integer></plist>", "bad integer \"12x\""},
        {"<plist><integer>9223372036854775808</integer></plist>", "bad integer"},
        {"<plist><real>1.5.2</real></plist>", "bad real"},
        {"<plist><data>AA=A</data></plist>", "bad base64"},
        {"<plist><date>2026-02-30T00:00:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-13-05T12:00:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-00-05T12:00:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-01-05T24:00:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-01-05T12:60:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-01-05T12:00:60Z</date></plist>", "bad date"},
        {"<plist><date>2026-01-05 12:00:00Z</date></plist>", "bad date"},
        {"<plist><date>2026-01-05T12:00:00+</date></plist>", "bad date"},
        {"<plist><true>yes</true></plist>", "a boolean holds text"},
        {"<plist><string>a<b/></string></plist>", "Expected character data"},
        {"<dict/>", "not a property list"},
        {"<plist/>", "holds no value"},
        {"<plist><true/><false/></plist>", "more than one value"},
        {"<plist><array>text</array></plist>", "unexpected text \"text\""},
        {nested, "nests deeper than 512 levels"},
    };
    for (const auto& [xml, reason] : cases) {
        std::string error;
        EXPECT_FALSE(PropertyListSerialization::read(xml, &error)) << xml;
        EXPECT_NE(error.find(reason), std::string::npos) << xml << " gave: " << error;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
    }
}
