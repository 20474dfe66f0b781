#include <gtest/gtest.h>
#include <sys/stat.h>

#include "about/AboutCredits.h"
#include "about/AttributedStringImages.h"
#include "about/KRContextTextAttachmentCell.h"
#include "kit/graphics/Image.h"
#include "kit/text/TextAttachment.h"
#include "support/HeadlessTest.h"
#include "support/TemporaryFolder.h"

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

// The panel takes credits of a sensible size only: 10^5 lines froze it for seconds and one line of 10 MB
// never showed. Anything beyond the bounds, or not UTF-8, shows no credits and says why.
TEST_F(AboutCreditsTest, ReadsOnlyCreditsWithinTheirBounds) {
    TemporaryFolder folder;
    std::string lines;
    for (std::size_t line = 0; line < AboutCredits::mostLines; ++line) {
        lines += "credit " + std::to_string(line) + "\n";
    }
    const auto most = folder.write("most.txt", lines + "=> thanks\n\n\n");
    const auto tooMany = folder.write("too-many.txt", lines + "one more\n");
    const auto largest = folder.write("largest.txt", std::string(AboutCredits::largestText, 'x'));
    const auto tooLarge = folder.write("too-large.txt", std::string(AboutCredits::largestText + 1, 'x'));
    const auto latin1 = folder.write("latin1.txt", "Caf\xE9\n");
    const auto fifo = folder.path() / "fifo.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::filesystem::path path;
        std::size_t lines;  // read, when it is
        std::string error;
    } rows[] = {
        {most, AboutCredits::mostLines, ""},
        {largest, 1, ""},
        {tooMany, 0, tooMany.string() + " holds more than 1000 credit lines"},
        {tooLarge, 0, tooLarge.string() + " is larger than 64 KiB"},
        {latin1, 0, latin1.string() + " is not UTF-8 text"},
        {fifo, 0, fifo.string() + " is not a regular file"},
    };
    for (const auto& row : rows) {
        std::string error;
        const std::optional<AboutCredits> credits = AboutCredits::read(row.path, "(c) L", error);
        EXPECT_EQ(error, row.error) << row.path;
        ASSERT_EQ(credits.has_value(), row.error.empty()) << row.path;
        if (credits) {
            EXPECT_EQ(credits->creditLines.size(), row.lines);
        }
    }
    std::string error;
    EXPECT_EQ(AboutCredits::read(most, "(c) L", error)->copyright, "(c) L \u2014 thanks");
}
