#include <gtest/gtest.h>

#include "kit/foundation/StringFormat.h"
#include "kit/foundation/URL.h"

TEST(URLTest, OnlyStringsOfAddressCharactersWithWholeEscapesAreAddresses) {
    struct Case {
        const char* string;
        bool valid;
        const char* scheme;
    };
    for (const Case c : {Case{"https://maker.example/exampleapp", true, "https"},
                         Case{"HTTPS://maker.example/a?b=c#d", true, "https"},
                         Case{"mailto:me@maker.example", true, "mailto"}, Case{"relative/path", true, ""},
                         Case{"1http://x", false, ""}, Case{"a%20b", true, ""}, Case{"", false, ""},
                         Case{"not an address", false, ""}, Case{"https://a/%2", false, ""},
                         Case{"https://a/%zz", false, ""}, Case{"https://a/\"q\"", false, ""},
                         Case{"https://a/\xc3\xa9", false, ""}, Case{"https://a/<b>", false, ""}}) {
        SCOPED_TRACE(c.string);
        const std::optional<kit::URL> url = kit::URL::URLWithString(c.string);
        ASSERT_EQ(url.has_value(), c.valid);
        if (url) {
            EXPECT_EQ(url->absoluteString(), c.string);
            EXPECT_EQ(url->scheme(), c.scheme);
        }
    }
}

TEST(URLTest, FileAddressesGiveTheirDecodedLocalPath) {
    struct Case {
        const char* string;
        const char* path;
    };
    for (const Case c :
         {Case{"file:///tmp/a%20b.xml", "/tmp/a b.xml"}, Case{"FILE://localhost/tmp/f", "/tmp/f"},
          Case{"file:///tmp/f?x#y", "/tmp/f"}, Case{"file://other/tmp/f", ""}, Case{"https://a/tmp", ""},
          Case{"file:/tmp/f", ""}}) {
        SCOPED_TRACE(c.string);
        EXPECT_EQ(kit::URL::URLWithString(c.string)->path(), c.path);
    }
}

TEST(StringFormatTest, ObjectsFillTheFormatInOrderOrByPosition) {
    EXPECT_EQ(kit::stringWithFormat("%@ %@ is up to date.", {"Example", "1.5"}),
              "Example 1.5 is up to date.");
    EXPECT_EQ(kit::stringWithFormat("%2$@ von %1$@", {"Example", "1.5"}), "1.5 von Example");
    EXPECT_EQ(kit::stringWithFormat("%@ and %@ at 100%%", {std::nullopt}), "(null) and (null) at 100%");
    EXPECT_EQ(kit::stringWithFormat("50% %d %", {"x"}), "50% %d %");
}
