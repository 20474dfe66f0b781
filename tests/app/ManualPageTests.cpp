#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"
#include "app/ManualPage.h"

// Each option is a tagged paragraph: names in bold, what it takes in italics, its help joined into one
// line for the page to fill.
TEST(ManualPage, EveryOptionIsATaggedParagraphInTheHelpsOrder) {
    const std::string options = ManualPage::options();
    const struct {
        const char* entry;
        const char* fault;
    } rows[] = {
        {".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nprint this help and exit\n",
         "the short name lost or unescaped"},
        {".TP\n\\fB\\-\\-version\\fR\nprint the name and version, then exit\n",
         "a comma before an option without a short name"},
        {".TP\n\\fB\\-\\-headless\\fR \\fISCENARIO\\fR [\\fB\\-\\-output\\fR \\fIDIR\\fR]\n"
         "play SCENARIO without a desktop, print its trace and write its snapshots into DIR\n",
         "arguments in the wrong font, brackets lost, or the help's line break kept"},
    };
    for (const auto& row : rows) {
        EXPECT_NE(options.find(row.entry), std::string::npos) << row.fault << "\n" << options;
    }
    std::size_t searchedFrom = 0;
    for (const CommandLine::Option& option : CommandLine::options()) {
        const std::size_t at =
            options.find("\\fB" + ManualPage::roffText(option.name) + "\\fR", searchedFrom);
        ASSERT_NE(at, std::string::npos) << option.name << " missing, or out of the help's order";
        searchedFrom = at;
    }
    EXPECT_EQ(options.rfind(".TP\n", 0), 0u) << "the first option is tagged too";
}

TEST(ManualPage, EveryExitStatusIsATaggedParagraph) {
    EXPECT_EQ(ManualPage::exitStatuses(),
              ".TP\n.B 0\ndone\n"
              ".TP\n.B 1\nit could not be done: no Awning running or answering, no bundle, a scenario step "
              "that failed\n"
              ".TP\n.B 2\nthe arguments, or the scenario, cannot be read\n");
}

TEST(ManualPage, TextThatRoffWouldReadAsEscapesOrRequestsIsPrintedAsItIs) {
    const struct {
        const char* text;
        const char* printed;
        const char* fault;
    } rows[] = {
        {"--output", "\\-\\-output", "hyphens for minus signs"},
        {"C:\\dir", "C:\\edir", "a backslash read as an escape"},
        {".SH", "\\&.SH", "a leading dot read as a request"},
        {"'br", "\\&'br", "a leading quote read as a request"},
        {"a.b 'c'", "a.b 'c'", "a dot or quote inside a line escaped"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ManualPage::roffText(row.text), row.printed) << row.fault;
    }
}

TEST(ManualPage, TheTemplateGetsTheSectionsTheVersionAndTheDate) {
    const std::string page = ManualPage::filledIn(
        ".TH AWNING 1 \"@DATE@\" \"Awning @VERSION@\"\n.SH OPTIONS\n@OPTIONS@\n.SH EXIT "
        "STATUS\n@EXIT_STATUS@\n"
        ".SH SEE ALSO\nAwning @VERSION@\n",
        "1.2.3", "2026-12-07");
    EXPECT_EQ(page, ".TH AWNING 1 \"2026-12-07\" \"Awning 1.2.3\"\n.SH OPTIONS\n" + ManualPage::options() +
                        ".SH EXIT STATUS\n" + ManualPage::exitStatuses() + ".SH SEE ALSO\nAwning 1.2.3\n");
}
