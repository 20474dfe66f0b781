#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "scenario/Scenario.h"
#include "support/TemporaryFolder.h"

namespace {

Scenario parsed(const std::string& source) {
    std::string error;
    std::optional<Scenario> scenario = Scenario::parse(source, error);
    EXPECT_TRUE(scenario.has_value()) << error << "\n" << source;
    return scenario.value_or(Scenario());
}

}  // namespace

// One row per kind of mistake: each command's usage, and each kind of number out of its bounds.
TEST(ScenarioParse, EveryMalformedLineIsReportedWithItsNumberAndWhatWasExpected) {
    const std::string screensUsage = "line 1: usage: <seconds> screens WIDTHxHEIGHT [WIDTHxHEIGHT@X,Y ...]";
    const std::string defaultUsage =
        "line 1: usage: <seconds> default \"KEY\" real|integer|string|bool|data VALUE, or default \"KEY\" "
        "remove";
    const std::string colorUsage = "line 1: usage: <seconds> color top|center|bottom RED GREEN BLUE ALPHA";
    const std::string outsideOutput = "line 1: a snapshot is a file name inside the output folder, not ";
    const std::string tooLarge = "line 3: a snapshot of a ";
    const struct {
        const char* source;
        std::string error;
    } rows[] = {
        {"0 screens 1440x900\n\n# a comment\n1 wobble", "line 4: unknown command \"wobble\""},
        {"screens 1440x900", "line 1: expected \"<seconds> <command> ...\""},
        {"1 menubar 24\n0.5 menubar 30", "line 2: times must not go backwards"},
        {"0 desktop \"file:///a b.jpg", "line 1: an opening quote has no closing quote"},
        {"0 screens 1440*900", screensUsage},
        {"0 screens 1440x900 1440x900@10", screensUsage},
        {"0 menubar tall", "line 1: usage: <seconds> menubar HEIGHT | off | unavailable"},
        {"0 pointer 720", "line 1: usage: <seconds> pointer X Y"},
        {"0 shift up", "line 1: usage: <seconds> shift on|off"},
        {"0 desktop", "line 1: usage: <seconds> desktop URL|none"},
        {"0 default \"Idle Alpha\" real", defaultUsage},
        {"0 default \"Count\" integer 1.5", defaultUsage},
        {"0 color middle 0 0 0 1", colorUsage},
        {"0 color top 0 0 0", colorUsage},
        {"0 end 5", "line 1: usage: <seconds> end (no arguments)"},
        {"0 space two", "line 1: usage: <seconds> space NUMBER"},
        {"0 snapshot", "line 1: usage: <seconds> snapshot FILE.png"},
        {"0 snapshot ../escape.png", outsideOutput + "\"../escape.png\""},
        {"0 snapshot ..", outsideOutput + "\"..\""},
        {"0 screens 32768x900", "line 1: a screen size must be from 1 to 32767, not 32768"},
        {"0 screens 1440x0", "line 1: a screen size must be from 1 to 32767, not 0"},
        {"0 screens 1440xnan", "line 1: a screen size must be a finite number, not nan"},
        {"0 screens 1e999x900", "line 1: a screen size must be a finite number, not 1e999"},
        {"0 screens 1440x900 1440x900@32768,0",
         "line 1: a coordinate must be from -32767 to 32767, not 32768"},
        {"0 menubar -1", "line 1: a menu bar height must be from 0 to 32767, not -1"},
        {"0 pointer 720 -32768", "line 1: a coordinate must be from -32767 to 32767, not -32768"},
        {"0 color top 0 0 1.5 1", "line 1: a colour component must be from 0 to 1, not 1.5"},
        {"0 default \"Idle Alpha\" real inf", "line 1: a real must be a finite number, not inf"},
        {"0 default \"Count\" integer 9223372036854775808",
         "line 1: an integer must be a whole number from -9223372036854775808 to 9223372036854775807, not "
         "9223372036854775808"},
        {"0 space -1", "line 1: a space must be a whole number from 0 to 2147483647, not -1"},
        {"-1 end", "line 1: a time in seconds must be from 0 to 86400, not -1"},
        {"0 menubar 24\n86400.5 end", "line 2: a time in seconds must be from 0 to 86400, not 86400.5"},
        // Each bound alone is within what X11 addresses, but a snapshot of their product would take
        // gigabytes: the primary screen's width times the tallest bar set so far counts. The headless screen
        // is 1440 wide; a check may not have seen the lower bar yet.
        {"0 screens 32767x32767\n0 menubar 32767\n1 snapshot a.png",
         tooLarge + "32767x32767 bar would be more than 16777216 pixels"},
        {"0 menubar 11651\n1 menubar 24\n2 snapshot a.png",
         tooLarge + "1440x11651 bar would be more than 16777216 pixels"},
        {"0 screens 32767x900\n0 menubar 513\n1 snapshot a.png",
         tooLarge + "32767x513 bar would be more than 16777216 pixels"},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_FALSE(Scenario::parse(row.source, error)) << row.source;
        EXPECT_EQ(error, row.error) << row.source;
    }
}

TEST(ScenarioParse, TheBoundsThemselvesAreAccepted) {
    for (const char* source : {
             "0 screens 32767x32767 1x1@-32767,32767\n0 menubar 0\n0 menubar 32767\n0 pointer -32767 32767\n"
             "0 color top 0 0 1 1\n0 space 0\n0 space 2147483647\n"
             "0 default \"Low\" integer -9223372036854775808\n0 default \"Tiny\" real 1e-999\n",
             "0 screens 4096x900\n0 menubar 4096\n1 snapshot a.png\n",  // a snapshot of exactly the largest
                                                                        // size
             // The screen at the snapshot counts; without a snapshot nothing is drawn.
             "0 screens 32767x32767\n0 menubar 32767\n1 screens 512x900\n2 snapshot a.png\n",
             "0 screens 32767x32767\n0 menubar 32767\n",
         }) {
        parsed(source);
    }
    EXPECT_EQ(parsed("86400 end\n").endTime(), 86400);
}

// What a command's effect on the run shows is checked by the runner's tests; here, what it does not show.
TEST(ScenarioParse, EachCommandReadsItsArguments) {
    const Scenario scenario = parsed(
        "# Windows line ends are read as well.\r\n"
        "0 screens 1440x900 1920x1080@1440,-90\r\n"
        "1 desktop \"file:///a b.jpg\"\n"
        "2 default \"Count\" integer -7\n"
        "2 default \"Name\" string \"two words\"\n"
        "2 default \"Shown Settings\" bool true\n"
        "2 default \"Blob\" data abc\n"
        "3 color center 0.1 0.2 0.3 0.4\r\n");
    const auto& steps = scenario.steps();
    ASSERT_EQ(steps.size(), 7u);
    ASSERT_EQ(steps[0].screens.size(), 2u);
    EXPECT_EQ(steps[0].screens[0].frame, kit::Rect(0, 0, 1440, 900));
    EXPECT_EQ(steps[0].screens[1].frame, kit::Rect(1440, -90, 1920, 1080));
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[1].text, "file:///a b.jpg");
    EXPECT_EQ(steps[2].value, kit::PropertyList(std::int64_t{-7}));
    EXPECT_EQ(steps[3].value, kit::PropertyList("two words"));
    EXPECT_EQ(steps[4].value, kit::PropertyList(true));
    EXPECT_EQ(steps[5].value, kit::PropertyList(kit::PropertyList::Data{'a', 'b', 'c'}));
    EXPECT_EQ(steps[6].stop, "center");
    EXPECT_EQ(std::vector<double>(steps[6].rgba, steps[6].rgba + 4),
              (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(steps[6].time, 3);
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
