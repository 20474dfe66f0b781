#include <gtest/gtest.h>

#include "about/AboutCredits.h"
#include "about/AttributedStringImages.h"
#include "about/KRContextTextAttachmentCell.h"
#include "kit/graphics/Image.h"
#include "kit/text/TextAttachment.h"
#include "support/HeadlessTest.h"

namespace {

using AboutCreditsTest = HeadlessTest;

const std::string home = "https://larkspur.example/";

TEST_F(AboutCreditsTest, ParsesCreditLinesAndTheLastCopyrightLine) {
    const AboutCredits credits = AboutCredits::parse(
        "beta\r\nAlpha\n\n=> first\ngamma 10\n=>no space\n   \n=> last\u2029gamma 9", "(c) L");
    EXPECT_EQ(credits.creditLines,
              (std::vector<std::string>{"beta", "Alpha", "gamma 10", "=>no space", "   ", "gamma 9"}));
    EXPECT_EQ(credits.copyright, "(c) L \u2014 last");
    EXPECT_EQ(AboutCredits::parse("\n\r\n", "(c) L").copyright, std::nullopt);
}

TEST_F(AboutCreditsTest, SortsTheLeadTextAndEndsWithTheLinkedImage) {
    const auto image = std::make_shared<kit::Image>(kit::Size{96, 64});
    struct Case {
        std::vector<std::string> lines;
        bool withImage;
        std::string text;
    };
    const std::string attachment = "\uFFFC";
    for (const Case& c :
         {Case{{"beta", "Alpha", "gamma 10", "gamma 9"}, false, "Alpha\nbeta\ngamma 9\ngamma 10\n\n\n"},
          Case{{"one"}, true, "one\n\n\n" + attachment + "\n"}, Case{{"one"}, false, "one\n\n\n"},
          Case{{}, true, "\n" + attachment + "\n"}}) {
        SCOPED_TRACE(c.text);
        const AboutCredits credits{c.lines, std::nullopt};
        const std::optional<kit::AttributedString> string =
            credits.creditsString(c.withImage ? image : nullptr, home);
        ASSERT_TRUE(string);
        EXPECT_EQ(string->string(), c.text);
        const kit::TextAttributes& first = string->attributesAtIndex(0);
        EXPECT_EQ(first.font, kit::Font::systemFontOfSize(10));
        EXPECT_EQ(first.foregroundColor, kit::Color::labelColor());
        for (const auto& run : string->runs()) {
            EXPECT_EQ(run.attributes.paragraphStyle->alignment, kit::TextAlignment::Center);
        }
        if (c.withImage) {
            const std::size_t at = string->length() - 2;
            const kit::TextAttributes& linked = string->attributesAtIndex(at);
            EXPECT_EQ(linked.toolTip, home);
            const auto* cell =
                dynamic_cast<KRContextTextAttachmentCell*>(linked.attachment->attachmentCell());
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(std::any_cast<std::string>(cell->textAttachmentContext()), home);
            EXPECT_FALSE(string->attributesAtIndex(at + 1).font)
                << "the last line feed has no font of its own";
        }
    }
    EXPECT_FALSE(AboutCredits{}.creditsString(nullptr, home)) << "nothing to credit";
}

TEST_F(AboutCreditsTest, AppendsImagesRaisedOnlyBeyondATenthOfAPoint) {
    const auto image = std::make_shared<kit::Image>(kit::Size{4, 4});
    kit::AttributedString string("ab");
    EXPECT_FALSE(appendImage(string, nullptr, 3));
    EXPECT_FALSE(appendString(string, ""));
    EXPECT_EQ(string.string(), "ab");

    for (const auto& [offset, raised] : {std::pair{0.1, false}, {-0.1, false}, {0.2, true}, {-0.2, true}}) {
        const kit::TextRange range = appendImage(string, image, offset, false, std::any());
        EXPECT_EQ(range, (kit::TextRange{string.length() - 1, 1}));
        EXPECT_EQ(string.attributesAtIndex(range.location).baselineOffset.has_value(), raised) << offset;
        const auto piece = attributedStringWithImage(image, offset, false, std::any());
        EXPECT_EQ(piece->attributesAtIndex(0).baselineOffset.has_value(), raised) << offset;
    }
    EXPECT_TRUE(appendImage(string, image, -2));
    EXPECT_EQ(string.attributesAtIndex(string.length() - 1).baselineOffset, -2.0);
    EXPECT_EQ(string.attributesAtIndex(string.length() - 1).attachment->image(), image)
        << "no cell: its own image";
    EXPECT_TRUE(appendString(string, "c"));
    EXPECT_EQ(string.attributesAtIndex(string.length() - 1), kit::TextAttributes{});
}

}  // namespace
