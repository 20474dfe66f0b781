#include <gtest/gtest.h>

#include "kit/foundation/StringsTable.h"

using kit::StringsTable;

namespace {

std::string valueOf(const std::optional<StringsTable>& table, const std::string& key) {
    const std::string* value = table ? table->find(key) : nullptr;
    return value ? *value : "<none>";
}

}  // namespace

TEST(StringsTableTest, ParsesEntriesEscapesAndComments) {
    const auto table = StringsTable::parse(R"(/* Localizable.strings
   "commented" = "out"; */
// "also" = "out";
"plain" = "value";
"escapes" = "a\nb\tc\rd \"q\" \\ \'s\' \a\b\f\v";
"unicode" = "caf\U00E9 \u00e9 \UD83D\UDE00";
simple_key = simple.value-1;
path = a/b:c$d/* a comment may follow a word */;
"same";
"spaced"   =/* inline */"x" ;// trailing
"Grüße" = "naïve";
"plain" = "later wins";
)");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->entries().size(), 8u);
    EXPECT_EQ(valueOf(table, "plain"), "later wins");
    EXPECT_EQ(valueOf(table, "escapes"), "a\nb\tc\rd \"q\" \\ 's' \a\b\f\v");
    EXPECT_EQ(valueOf(table, "unicode"), "caf\u00e9 \u00e9 \U0001F600");
    EXPECT_EQ(valueOf(table, "simple_key"), "simple.value-1");
    EXPECT_EQ(valueOf(table, "path"), "a/b:c$d");
    EXPECT_EQ(valueOf(table, "same"), "same");
    EXPECT_EQ(valueOf(table, "spaced"), "x");
    EXPECT_EQ(valueOf(table, "Grüße"), "naïve");
    EXPECT_EQ(valueOf(table, "commented"), "<none>");
    EXPECT_EQ(valueOf(table, "also"), "<none>");
    EXPECT_TRUE(StringsTable::parse(""));
}

TEST(StringsTableTest, ReadsByteOrderMarkedText) {
    EXPECT_EQ(valueOf(StringsTable::parse("\xEF\xBB\xBF\"a\" = \"\xC3\xA9\";"), "a"), "\u00e9");
    const std::string utf16le("\xFF\xFE\"\0a\0\"\0=\0\"\0\xE9\0\"\0;\0", 18);
    EXPECT_EQ(valueOf(StringsTable::parse(utf16le), "a"), "\u00e9");
    const std::string utf16be("\xFE\xFF\0\"\0a\0\"\0=\0\"\0\xE9\0\"\0;", 18);
    EXPECT_EQ(valueOf(StringsTable::parse(utf16be), "a"), "\u00e9");
}

TEST(StringsTableTest, MalformedTablesFailWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"a\" = \"b\"", "line 1: expected ';' after the entry \"a\""},
        {"\"a\" = \"b\";\n\"c\" \"d\";", "line 2: expected ';'"},
        {"\"a\" = \"b;", "unterminated string"},
        {"/* open", "unterminated comment"},
        {"\"a\" = ;", "unexpected character ';'"},
        {"\"a\" =", "unexpected end of the table"},
        {"\"a\" = \"\\U12\";", "four hexadecimal digits"},
        {"\"a\" = \"\\UD83D\";", "unpaired surrogate"},
        {"\"a\" = \"\\UDE00\";", "unpaired surrogate"},
        {"\"a\" = \"\\UD83D\\U0041\";", "unpaired surrogate"},
        {"\"a\" = \"\xC3\x28\";", "not valid UTF-8"},
        {std::string("\xFF\xFE\x61", 3), "not valid UTF-16"},
    };
    for (const auto& [text, reason] : cases) {
        std::string error;
        // Printed escaped: some cases are not valid UTF-8.
        EXPECT_FALSE(StringsTable::parse(text, &error)) << testing::PrintToString(text);
        EXPECT_NE(error.find(reason), std::string::npos)
            << testing::PrintToString(text) << " gave: " << error;
    }
}
