#include <gtest/gtest.h>

#include <limits>

#include "hosts/headless/HeadlessHost.h"
#include "kit/foundation/Date.h"

namespace {

// 2026-01-05 23:30:00 UTC
constexpr double LateOnJanuaryFifth = 1767655800.0;

std::string longDate(double unixTime, std::string localeName, std::string timeZoneName) {
    headless::HeadlessHost::Options options;
    options.localeName = std::move(localeName);
    options.timeZoneName = std::move(timeZoneName);
    headless::HeadlessHost world(options);
    return kit::localizedLongDate(kit::dateWithTimeIntervalSince1970(unixTime));
}

}  // namespace

TEST(DateTest, NowFollowsTheHostClock) {
    headless::HeadlessHost world;
    world.advance(90.5);
    EXPECT_EQ(kit::timeIntervalSince1970(), 1767614400.0 + 90.5);
    EXPECT_EQ(kit::dateWithTimeIntervalSince1970(978307200.0), kit::PropertyList::Date{0.0});
}

TEST(DateTest, LongDateIsInTheHostsLocaleAndTimeZone) {
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "en_US", "UTC"), "January 5, 2026");
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "en_US", "Asia/Tokyo"), "January 6, 2026");
    EXPECT_EQ(longDate(LateOnJanuaryFifth - 21.0 * 3600, "en_US", "America/Los_Angeles"), "January 4, 2026");
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "en_US", "No/Such_Zone"), "January 5, 2026");  // UTC instead
    EXPECT_EQ(longDate(-0.5, "en_US", "UTC"), "December 31, 1969");

    // Other locales keep their own long style without the weekday, wherever it stood.
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "de_DE", "UTC"), "5. Januar 2026");
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "ja_JP", "UTC"), "2026年1月5日");
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "es_ES", "UTC"), "5 de enero de 2026");
    EXPECT_EQ(longDate(LateOnJanuaryFifth, "az_AZ", "UTC"), "5 yanvar 2026");
    for (const double tooFar : {std::numeric_limits<double>::quiet_NaN(), 1e15, -1e15}) {
        EXPECT_EQ(longDate(tooFar, "en_US", "UTC"), "") << tooFar;
    }
}
