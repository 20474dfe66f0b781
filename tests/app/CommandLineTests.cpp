#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

using Action = CommandLine::Action;

}  // namespace

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

// The help is made from the option table: each option on a line of its own with what it does.
TEST(CommandLine, TheHelpGivesEveryOptionALineOnWhatItDoes) {
    const std::string help = CommandLine::helpText();
    EXPECT_EQ(help.rfind("Usage: awning [OPTION]\n", 0), 0u);
    EXPECT_EQ(CommandLine::options().size(), 6u);
    for (const CommandLine::Option& option : CommandLine::options()) {
        std::string names = *option.shortName ? std::string(option.shortName) + ", " : "    ";
        names += option.name;
        const std::size_t at = help.find("\n  " + names);
        ASSERT_NE(at, std::string::npos) << option.name;
        const std::string firstLine = std::string(option.help).substr(0, std::string(option.help).find('\n'));
        const std::size_t nextLineEnd = help.find('\n', help.find('\n', at + 1) + 1);
        EXPECT_LT(help.find(firstLine, at), nextLineEnd) << option.name << ": on its line or the next";
    }
    const std::string indent(24, ' ');
    EXPECT_NE(help.find("  -h, --help            print this help and exit\n"), std::string::npos) << help;
    EXPECT_NE(help.find("      --headless SCENARIO [--output DIR]\n" + indent + "play SCENARIO without a desktop, "
                        "print its trace and\n" + indent + "write its snapshots into DIR\n"),
              std::string::npos)
        << help;
    for (std::size_t start = 0; start < help.size();) {
        const std::size_t end = help.find('\n', start);
        EXPECT_LE(end - start, 80u) << "a line fits a terminal: " << help.substr(start, end - start);
        start = end + 1;
    }
    // The exit statuses in a table of their own, a long meaning carried on under itself.
    EXPECT_TRUE(
        help.ends_with("\nExit status:\n"
                       "  0  done\n"
                       "  1  it could not be done: no Awning running or answering, no bundle,\n"
                       "     a scenario step that failed\n"
                       "  2  the arguments, or the scenario, cannot be read\n"))
        << help;
}
