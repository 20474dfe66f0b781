#include <gtest/gtest.h>

#include <sstream>

#include "app/MainInterfaceFile.h"
#include "scenario/HeadlessCommand.h"
#include "support/TemporaryFolder.h"

namespace {

struct Outcome {
    int status;
    std::string trace;
    std::string errors;
};

Outcome run(const std::vector<std::string>& arguments) {
    registerInterfaceFiles();
    const std::optional<HeadlessCommand> command = HeadlessCommand::parse(arguments);
    if (!command) {
        ADD_FAILURE() << "no command";
        return {-1, "", ""};
    }
    std::ostringstream trace, errors;
    const int status = command->run(trace, errors);
    return {status, trace.str(), errors.str()};
}

const char* withSnapshot = "0 screens 1440x900\n0 menubar 24\n1 snapshot bar.png\n";

}  // namespace

TEST(HeadlessCommand, ReadsAScenarioAndAnOptionalOutputFolderInEitherOrder) {
    const struct {
        std::vector<std::string> arguments;
        std::filesystem::path scenario, output;
    } valid[] = {
        {{"a.scenario"}, "a.scenario", "."},
        {{"runs/a.scenario"}, "runs/a.scenario", "runs"},
        {{"runs/a.scenario", "--output", "shots"}, "runs/a.scenario", "shots"},
        {{"--output", "shots", "runs/a.scenario"}, "runs/a.scenario", "shots"},
    };
    for (const auto& expected : valid) {
        const std::optional<HeadlessCommand> command = HeadlessCommand::parse(expected.arguments);
        ASSERT_TRUE(command) << expected.arguments[0];
        EXPECT_EQ(command->scenarioPath(), expected.scenario);
        EXPECT_EQ(command->outputDirectory(), expected.output);
    }
    const std::vector<std::string> invalid[] = {
        {},
        {""},
        {"--output", "shots"},
        {"a.scenario", "b.scenario"},
        {"a.scenario", "--output"},
        {"a.scenario", "--output", ""},
        {"a.scenario", "--output", "one", "--output", "two"},
        {"--verbose", "a.scenario"},
    };
    for (const std::vector<std::string>& arguments : invalid) {
        EXPECT_FALSE(HeadlessCommand::parse(arguments)) << ::testing::PrintToString(arguments);
    }
}

TEST(HeadlessCommand, SnapshotsGoBesideTheScenarioOrIntoTheOutputFolder) {
    TemporaryFolder folder;
    const std::filesystem::path scenario = folder.write("runs/bar.scenario", withSnapshot);

    Outcome outcome = run({scenario.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "runs/bar.png"));

    const std::filesystem::path output = folder.path() / "made/on/the/way";
    outcome = run({scenario.string(), "--output", output.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_TRUE(std::filesystem::exists(output / "bar.png"));
    EXPECT_NE(outcome.trace.find(R"("file":"bar.png")"), std::string::npos) << outcome.trace;
}

// A scenario with huge or non-finite sizes fails at its line, and an output folder that cannot be made stops
// the run, before anything runs.
TEST(HeadlessCommand, AScenarioThatCannotRunOrAFolderThatCannotBeMadeFailsBeforeAnythingRuns) {
    TemporaryFolder folder;
    const std::string scenario = (folder.path() / "bar.scenario").string();
    const std::filesystem::path shots = folder.path() / "shots";
    const std::filesystem::path taken = folder.write("taken", "a file, not a folder");
    const struct {
        const char* source;
        std::filesystem::path output;
        std::string errors;
    } cases[] = {
        {"0 screens 1440x900\n0 menubar inf\n1 snapshot bar.png\n", shots,
         scenario + ": line 2: a menu bar height must be a finite number, not inf\n"},
        {withSnapshot, taken, "cannot make the output folder " + taken.string() + "\n"},
    };
    for (const auto& c : cases) {
        folder.write("bar.scenario", c.source);
        const Outcome outcome = run({scenario, "--output", c.output.string()});
        EXPECT_EQ(outcome.status, 2) << c.source;
        EXPECT_EQ(outcome.errors, "awning: " + c.errors);
        EXPECT_EQ(outcome.trace, "") << "nothing was launched";
        EXPECT_FALSE(std::filesystem::exists(shots)) << "nor any folder made";
    }
}

TEST(HeadlessCommand, ASnapshotThatCannotBeWrittenEndsTheRunThereWithStatusOne) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "bar.png");
    const Outcome outcome =
        run({folder.write("bar.scenario", std::string(withSnapshot) + "2 reopen\n").string()});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors, "awning: cannot write snapshot " + (folder.path() / "bar.png").string() + "\n");
    EXPECT_EQ(outcome.trace.find("reopen"), std::string::npos) << outcome.trace;
}
