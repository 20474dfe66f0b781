#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

using Action = CommandLine::Action;

TEST(CommandLine, TheFirstArgumentNamesTheActionAndAnythingElseIsNamedAsWrong) {
    const struct {
        std::vector<std::string> arguments;
        Action action;
        std::string problem;
    } rows[] = {
        {{}, Action::Launch, ""},
        {{"--help"}, Action::Help, ""},
        {{"-h"}, Action::Help, ""},
        {{"-h", "--frob"}, Action::Help, ""},  // help is asked for: nothing else matters
        {{"--version"}, Action::Version, ""},
        {{"--about"}, Action::About, ""},
        {{"--status"}, Action::Status, ""},
        {{"--relaunch"}, Action::Relaunch, ""},
        {{"--headless", "a.scenario", "--output", "out"}, Action::Headless, ""},
        {{"--frob"}, Action::Invalid, "unknown option '--frob'"},
        {{"-x"}, Action::Invalid, "unknown option '-x'"},
        {{"--Help"}, Action::Invalid, "unknown option '--Help'"},
        {{"--version=2"}, Action::Invalid, "unknown option '--version=2'"},
        {{"settings"}, Action::Invalid, "unexpected argument 'settings'"},
        {{"--version", "--frob"}, Action::Invalid, "unknown option '--frob'"},
        {{"--status", "now"}, Action::Invalid, "unexpected argument 'now'"},
        {{"--about", "--status"}, Action::Invalid, "unexpected argument '--status'"},
    };
    for (const auto& row : rows) {
        const CommandLine commandLine = CommandLine::parse(row.arguments);
        const std::string arguments = testing::PrintToString(row.arguments);
        EXPECT_EQ(commandLine.action(), row.action) << arguments;
        EXPECT_EQ(commandLine.problem(), row.problem) << arguments;
    }
    EXPECT_EQ(CommandLine::parse({"--headless", "a.scenario", "--output", "out"}).headlessArguments(),
              (std::vector<std::string>{"a.scenario", "--output", "out"}));
    EXPECT_EQ(CommandLine::complaint("unknown option '--frob'"),
              "awning: unknown option '--frob'\nTry 'awning --help' for more information.\n");
}

// Made from the option and exit-status tables: a long option's help goes on a line of its own, a long
// meaning carries on under itself, and every line fits a terminal.
TEST(CommandLine, TheHelpGivesEveryOptionAndExitStatusALineOnWhatItMeans) {
    EXPECT_EQ(CommandLine::helpText(),
              "Usage: awning [OPTION]\n"
              "Tints the desktop's top panel with a gradient of three colours.\n"
              "With no option, starts Awning, or opens the running Awning's settings window.\n"
              "\n"
              "Options:\n"
              "  -h, --help            print this help and exit\n"
              "      --version         print the name and version, then exit\n"
              "      --about           show the About panel of the running Awning\n"
              "      --status          ask the running Awning which panel it tints\n"
              "      --relaunch        make the running Awning quit and start again\n"
              "      --headless SCENARIO [--output DIR]\n"
              "                        play SCENARIO without a desktop, print its trace and\n"
              "                        write its snapshots into DIR\n"
              "\n"
              "Exit status:\n"
              "  0  done\n"
              "  1  it could not be done: no Awning running or answering, no bundle,\n"
              "     a scenario step that failed\n"
              "  2  the arguments, or the scenario, cannot be read\n");
}
