#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/core/ProcessLocal.h"
#include "kit/foundation/RunLoop.h"
#include "support/HeadlessTest.h"

namespace {

std::vector<std::string> events;
const kit::Host* hostAtDrop = nullptr;

// Records its life, and on its way out reaches for other per-process state, as a shared object that
// releases windows or cancels delayed calls does.
struct Tracked {
    Tracked() { events.push_back("made"); }
    ~Tracked() {
        events.push_back("dropped");
        hostAtDrop = kit::hasHost() ? &kit::host() : nullptr;
        kit::RunLoop::main().pendingCalls();
    }
    int value = 0;
};

kit::ProcessLocal<Tracked>& tracked() {
    static kit::ProcessLocal<Tracked> state;
    return state;
}

kit::ProcessLocal<std::string>& madeOnUse() {
    static kit::ProcessLocal<std::string> state(+[] {
        events.push_back("factory");
        return std::make_unique<std::string>("fresh");
    });
    return state;
}

}  // namespace

class ProcessLocalTest : public HeadlessTest {
protected:
    ProcessLocalTest() { events.clear(); }
};

TEST_F(ProcessLocalTest, AValueLivesForOneProcessAndIsMadeOnlyWhenUsed) {
    tracked().get().value = 7;
    EXPECT_EQ(tracked().get().value, 7);
    EXPECT_EQ(events, (std::vector<std::string>{"made"}));

    const kit::Host* ending = &world();
    restart();
    EXPECT_EQ(events, (std::vector<std::string>{"made", "dropped"}));
    EXPECT_EQ(hostAtDrop, ending) << "dropped as its process ends, while its host can still see it go";
    EXPECT_EQ(tracked().get().value, 0) << "a new process starts afresh";

    madeOnUse().get() = "changed";
    restart();
    restart();
    EXPECT_EQ(madeOnUse().get(), "fresh");
    EXPECT_EQ(std::count(events.begin(), events.end(), "factory"), 2) << "once per process that used it";

    // A host installed over one that never ended still starts a fresh process.
    tracked().get().value = 3;
    headless::HeadlessHost second;
    EXPECT_EQ(tracked().get().value, 0);
}

// Reads another piece of state on its way out.
struct Reader {
    ~Reader() { seen = tracked().get().value; }
    static inline int seen = -1;
};

TEST_F(ProcessLocalTest, LaterStateIsDroppedFirstAndAGoneSlotIsForgotten) {
    tracked().get().value = 5;
    {
        // Registered after `tracked`, so dropped before it: its destructor still sees this process's value.
        kit::ProcessLocal<Reader> reader;
        reader.get();
        restart();
        EXPECT_EQ(Reader::seen, 5);
        reader.get();
    }
    restart();  // the slot above is gone: dropping must not reach it
    EXPECT_EQ(tracked().get().value, 0);
}
