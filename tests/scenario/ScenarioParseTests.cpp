#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "scenario/Scenario.h"
#include "support/TemporaryFolder.h"

namespace {

using Command = ScenarioStep::Command;

std::string parseError(const std::string& source) {
    std::string error;
    EXPECT_FALSE(Scenario::parse(source, error).has_value()) << source;
    return error;
}

Scenario parsed(const std::string& source) {
    std::string error;
    std::optional<Scenario> scenario = Scenario::parse(source, error);
    EXPECT_TRUE(scenario.has_value()) << error;
    return scenario.value_or(Scenario());
}

struct Malformed {
    std::string source;
    std::string error;
};

const std::string screensUsage = "usage: <seconds> screens WIDTHxHEIGHT [WIDTHxHEIGHT@X,Y ...]";
const std::string defaultUsage =
    "usage: <seconds> default \"KEY\" real|integer|string|bool|data VALUE, or default \"KEY\" remove";
const std::string colorUsage = "usage: <seconds> color top|center|bottom RED GREEN BLUE ALPHA";
const std::string snapshotPlace = "a snapshot is a file name inside the output folder, not ";

}  // namespace

TEST(ScenarioParse, EveryMalformedLineIsReportedWithItsNumberAndWhatWasExpected) {
    const Malformed cases[] = {
        {"0 screens 1440x900\n\n# a comment\n1 wobble", "line 4: unknown command \"wobble\""},
        {"screens 1440x900", "line 1: expected \"<seconds> <command> ...\""},
        {"  5  # nothing to do", "line 1: expected \"<seconds> <command> ...\""},
        {"1 menubar 24\n0.5 menubar 30", "line 2: times must not go backwards"},
        {"0 desktop \"file:///a b.jpg", "line 1: an opening quote has no closing quote"},
        {"0 screens", "line 1: " + screensUsage},
        {"0 screens 1440*900", "line 1: " + screensUsage},
        {"0 screens 1440x900 1440x900@10", "line 1: " + screensUsage},
        {"0 screens 1440x900 1440x900,5@10", "line 1: " + screensUsage},
        {"0 screens 1440x900 1440x900@x,5", "line 1: " + screensUsage},
        {"0 menubar tall", "line 1: usage: <seconds> menubar HEIGHT | off | unavailable"},
        {"0 menubar 24 30", "line 1: usage: <seconds> menubar HEIGHT | off | unavailable"},
        {"0 pointer 720", "line 1: usage: <seconds> pointer X Y"},
        {"0 pointer 720 top", "line 1: usage: <seconds> pointer X Y"},
        {"0 shift up", "line 1: usage: <seconds> shift on|off"},
        {"0 desktop", "line 1: usage: <seconds> desktop URL|none"},
        {"0 default \"Idle Alpha\" real", "line 1: " + defaultUsage},
        {"0 default \"Idle Alpha\" float 0.4", "line 1: " + defaultUsage},
        {"0 default \"Shown Settings\" bool yes", "line 1: " + defaultUsage},
        {"0 default \"Count\" integer 1.5", "line 1: " + defaultUsage},
        {"0 color middle 0 0 0 1", "line 1: " + colorUsage},
        {"0 color top 0 0 0", "line 1: " + colorUsage},
        {"0 color top 0 0 zero 1", "line 1: " + colorUsage},
        {"0 activate now", "line 1: usage: <seconds> activate (no arguments)"},
        {"0 end 5", "line 1: usage: <seconds> end (no arguments)"},
        {"0 space two", "line 1: usage: <seconds> space NUMBER"},
        {"0 snapshot", "line 1: usage: <seconds> snapshot FILE.png"},
        {"0 snapshot ../escape.png", "line 1: " + snapshotPlace + "\"../escape.png\""},
        {"0 snapshot /tmp/elsewhere.png", "line 1: " + snapshotPlace + "\"/tmp/elsewhere.png\""},
        {"0 snapshot ..", "line 1: " + snapshotPlace + "\"..\""},
        // Numbers beyond a display or a day, or not finite.
        {"0 menubar 24\n0 screens 99999999x99999999",
         "line 2: a screen size must be from 1 to 32767, not 99999999"},
        {"0 screens 32768x900", "line 1: a screen size must be from 1 to 32767, not 32768"},
        {"0 screens 1440x0", "line 1: a screen size must be from 1 to 32767, not 0"},
        {"0 screens 1440xnan", "line 1: a screen size must be a finite number, not nan"},
        {"0 screens infx900", "line 1: a screen size must be a finite number, not inf"},
        {"0 screens 1e999x900", "line 1: a screen size must be a finite number, not 1e999"},
        {"0 screens 1440x900 1440x900@32768,0",
         "line 1: a coordinate must be from -32767 to 32767, not 32768"},
        {"0 screens 1440x900 1440x900@0,-inf", "line 1: a coordinate must be a finite number, not -inf"},
        {"0 menubar 32768", "line 1: a menu bar height must be from 0 to 32767, not 32768"},
        {"0 menubar -1", "line 1: a menu bar height must be from 0 to 32767, not -1"},
        {"0 menubar NaN", "line 1: a menu bar height must be a finite number, not NaN"},
        {"0 pointer 720 -32768", "line 1: a coordinate must be from -32767 to 32767, not -32768"},
        {"0 pointer infinity 0", "line 1: a coordinate must be a finite number, not infinity"},
        {"0 color top 0 0 1.5 1", "line 1: a colour component must be from 0 to 1, not 1.5"},
        {"0 color top 0 0 0 -0.1", "line 1: a colour component must be from 0 to 1, not -0.1"},
        {"0 color center nan 0 0 1", "line 1: a colour component must be a finite number, not nan"},
        {"0 default \"Idle Alpha\" real inf", "line 1: a real must be a finite number, not inf"},
        {"0 default \"Idle Alpha\" real -1e999", "line 1: a real must be a finite number, not -1e999"},
        {"0 default \"Count\" integer 9223372036854775808",
         "line 1: an integer must be a whole number from -9223372036854775808 to 9223372036854775807, not "
         "9223372036854775808"},
        {"0 space -1", "line 1: a space must be a whole number from 0 to 2147483647, not -1"},
        {"0 space 2147483648", "line 1: a space must be a whole number from 0 to 2147483647, not 2147483648"},
        {"-1 end", "line 1: a time in seconds must be from 0 to 86400, not -1"},
        {"0 menubar 24\n86400.5 end", "line 2: a time in seconds must be from 0 to 86400, not 86400.5"},
        {"nan end", "line 1: a time in seconds must be a finite number, not nan"},
        {"1e999 end", "line 1: a time in seconds must be a finite number, not 1e999"},
        // Each bound alone is within what X11 addresses, but a snapshot of their product would take
        // gigabytes: the primary screen's width times the tallest bar set so far counts. The headless screen
        // is 1440 wide; a check may not have seen the lower bar yet.
        {"0 screens 32767x32767\n0 menubar 32767\n1 snapshot a.png",
         "line 3: a snapshot of a 32767x32767 bar would be more than 16777216 pixels"},
        {"0 menubar 11651\n1 menubar 24\n2 snapshot a.png",
         "line 3: a snapshot of a 1440x11651 bar would be more than 16777216 pixels"},
        {"0 screens 32767x900\n0 menubar 513\n1 snapshot a.png",
         "line 3: a snapshot of a 32767x513 bar would be more than 16777216 pixels"},
    };
    for (const Malformed& malformed : cases) {
        EXPECT_EQ(parseError(malformed.source), malformed.error) << malformed.source;
    }
}

TEST(ScenarioParse, ASnapshotWithinItsBoundIsAccepted) {
    parsed("0 screens 32767x32767\n0 menubar 512\n1 snapshot a.png\n");
    parsed("0 screens 4096x900\n0 menubar 4096\n1 snapshot a.png\n");  // exactly the bound
    parsed("0 menubar 11650\n1 snapshot a.png\n");
    // The screen at the snapshot counts; without a snapshot nothing is drawn.
    parsed("0 screens 32767x32767\n0 menubar 32767\n1 screens 512x900\n2 snapshot a.png\n");
    parsed("0 screens 32767x32767\n0 menubar 32767\n");
}

TEST(ScenarioParse, TheBoundsThemselvesAreAccepted) {
    const Scenario scenario = parsed(
        "0 screens 32767x32767 1x1@-32767,32767\n"
        "0 menubar 0\n"
        "0 menubar 32767\n"
        "0 pointer -32767 32767\n"
        "0 color top 0 0 1 1\n"
        "0 space 0\n"
        "0 space 2147483647\n"
        "0 default \"Low\" integer -9223372036854775808\n"
        "0 default \"Tiny\" real 1e-999\n"
        "86400 end\n");
    const auto& steps = scenario.steps();
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(steps[0].screens[0].frame, kit::Rect(0, 0, 32767, 32767));
    EXPECT_EQ(steps[0].screens[1].frame, kit::Rect(-32767, 32767, 1, 1));
    EXPECT_EQ(steps[2].height, 32767);
    EXPECT_EQ(steps[3].point, kit::Point(-32767, 32767));
    EXPECT_EQ(steps[6].space, 2147483647);
    EXPECT_EQ(steps[7].value, kit::PropertyList(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(steps[8].value, kit::PropertyList(0.0)) << "too small to tell from 0, not out of range";
    EXPECT_EQ(scenario.endTime(), 86400);
}

TEST(ScenarioParse, EachCommandReadsItsArguments) {
    const Scenario scenario = parsed(
        "# Windows line ends are read as well.\r\n"
        "0 screens 1440x900 1920x1080@1440,-90\r\n"
        "0 menubar off\n"
        "0 menubar unavailable\n"
        "1 shift on\n"
        "1 shift off\n"
        "1 desktop none\n"
        "1 desktop \"file:///a b.jpg\"\n"
        "2 default \"Idle Alpha\" remove\n"
        "2 default \"Count\" integer -7\n"
        "2 default \"Name\" string \"two words\"\n"
        "2 default \"Shown Settings\" bool true\n"
        "2 default \"Blob\" data abc\n"
        "3 color center 0.1 0.2 0.3 0.4\n"
        "3 space 4\n"
        "3 activate\r\n");
    const auto& steps = scenario.steps();
    ASSERT_EQ(steps.size(), 15u);
    ASSERT_EQ(steps[0].screens.size(), 2u);
    EXPECT_EQ(steps[0].screens[0].frame, kit::Rect(0, 0, 1440, 900));
    EXPECT_EQ(steps[0].screens[1].frame, kit::Rect(1440, -90, 1920, 1080));
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[1].command, Command::HideMenuBar);
    EXPECT_EQ(steps[2].command, Command::NoWindowList);
    EXPECT_TRUE(steps[3].flag);
    EXPECT_FALSE(steps[4].flag);
    EXPECT_EQ(steps[5].text, std::nullopt);
    EXPECT_EQ(steps[6].text, "file:///a b.jpg");
    EXPECT_EQ(steps[7].command, Command::RemoveDefault);
    EXPECT_EQ(steps[7].text, "Idle Alpha");
    EXPECT_EQ(steps[8].value, kit::PropertyList(std::int64_t{-7}));
    EXPECT_EQ(steps[9].value, kit::PropertyList("two words"));
    EXPECT_EQ(steps[10].value, kit::PropertyList(true));
    EXPECT_EQ(steps[11].value, kit::PropertyList(kit::PropertyList::Data{'a', 'b', 'c'}));
    EXPECT_EQ(steps[12].stop, "center");
    EXPECT_EQ(std::vector<double>(steps[12].rgba, steps[12].rgba + 4),
              (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(steps[13].space, 4);
    EXPECT_EQ(steps[14].command, Command::Activate);
    EXPECT_EQ(steps[14].time, 3);
}

TEST(ScenarioParse, TheRunEndsAtTheEndStepElseASecondAfterTheLastStep) {
    EXPECT_EQ(parsed("").endTime(), 0);
    EXPECT_EQ(parsed("2 activate\n7.5 reopen\n").endTime(), 8.5);
    EXPECT_EQ(parsed("2 activate\n5 end\n9 reopen\n12 end\n").endTime(), 5);
}

TEST(ScenarioLoad, OnlyARegularFileOfAtMostOneMebibyteIsRead) {
    TemporaryFolder folder;
    // A FIFO without a writer would hold the run forever.
    const auto fifo = folder.path() / "fifo.scenario";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Comments fill the file up to the limit exactly; one more byte is too many.
    const std::string largest = "1 end" + std::string(Scenario::largestFile - 6, '#') + "\n";
    ASSERT_EQ(largest.size(), Scenario::largestFile);
    std::string error;
    EXPECT_TRUE(Scenario::load(folder.write("largest.scenario", largest), error)) << error;

    const auto missing = folder.path() / "missing.scenario";
    const auto tooLarge = folder.write("too-large.scenario", largest + "\n");
    const auto malformed = folder.write("malformed.scenario", "0 menubar 24\n1 wobble\n");
    const std::pair<std::filesystem::path, std::string> refused[] = {
        {missing, "cannot read " + missing.string() + ": No such file or directory"},
        {folder.path(), folder.path().string() + " is not a regular file"},
        {fifo, fifo.string() + " is not a regular file"},
        {tooLarge, tooLarge.string() + " is larger than 1 MiB"},
        {malformed, malformed.string() + ": line 2: unknown command \"wobble\""},
    };
    for (const auto& [path, expected] : refused) {
        EXPECT_FALSE(Scenario::load(path, error)) << path;
        EXPECT_EQ(error, expected);
    }
}
