#include <gtest/gtest.h>

#include <QCoreApplication>

#include "hosts/qt/WakeUpTimer.h"

using qthost::WakeUpTimer;

namespace {

// A few turns that never wait: what is ready now is handled, nothing later.
void turnWithoutWaiting() {
    for (int turn = 0; turn < 5; ++turn) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void turnUntil(const int& fired, int count) {
    for (int turn = 0; turn < 200 && fired < count; ++turn) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
}

}  // namespace

TEST(WakeUpTimer, FiresOnceAndALaterRequestOrAStopReplacesTheEarlierOne) {
    int fired = 0;
    WakeUpTimer timer([&] { ++fired; });

    timer.start(-1.0);  // already due: the next turn
    turnUntil(fired, 1);
    turnWithoutWaiting();
    EXPECT_EQ(fired, 1) << "one expiry, one call";

    timer.start(3600.0);
    timer.start(0.0);
    turnUntil(fired, 2);
    EXPECT_EQ(fired, 2);

    timer.start(0.0);
    timer.stop();
    timer.start(3600.0);
    turnWithoutWaiting();
    EXPECT_EQ(fired, 2);
}
