#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/foundation/RunLoop.h"
#include "support/HeadlessTest.h"

namespace {

using Log = std::vector<std::string>;

// Notes every call it receives in a shared log as "<name>.<operation>@<virtual time>". `chain:` makes a
// zero-delay call from inside a turn; `loop:` reschedules itself, as the controller's loops do.
class Recorder : public kit::Object {
public:
    Recorder(Log& log, std::string name) : _log(log), _name(std::move(name)) {}

    void tick(kit::Object*) { note("tick"); }
    void tock(kit::Object*) { note("tock"); }
    void chain(kit::Object*) {
        note("chain");
        kit::performSelector(*this, kit::sel("tick:"), nullptr, 0.0);
    }
    void loop(kit::Object*) {
        note("loop");
        kit::performSelector(*this, kit::sel("loop:"), nullptr, 0.25);
    }

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(
            &Object::classDispatchTable(),
            {kit::action<&Recorder::tick>("tick:"), kit::action<&Recorder::tock>("tock:"),
             kit::action<&Recorder::chain>("chain:"), kit::action<&Recorder::loop>("loop:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    void note(const std::string& operation) {
        std::ostringstream entry;
        entry << _name << "." << operation << "@" << kit::host().now();
        _log.push_back(entry.str());
    }

    Log& _log;
    std::string _name;
};

const kit::Selector tick = kit::sel("tick:");
const kit::Selector tock = kit::sel("tock:");

}  // namespace

class RunLoopTest : public HeadlessTest {
protected:
    Log log;
};

TEST_F(RunLoopTest, CallsRunInTimeOrderAndTiesInTheOrderMade) {
    Recorder a(log, "a"), b(log, "b"), block(log, "block");
    kit::performSelector(a, tick, nullptr, 2.0);
    kit::performSelector(b, tick, nullptr, 0.5);
    kit::performSelector(a, tock, nullptr, 1.0);
    kit::performSelector(b, tock, nullptr, 1.0);
    kit::dispatchAfter(1.0, [&] { block.tick(nullptr); });
    kit::performSelector(b, tick, nullptr, 0.0);
    kit::performSelector(a, tick, nullptr, -1.0);  // a negative delay is a zero delay

    world().advance(0.9);
    EXPECT_EQ(log, (Log{"b.tick@0", "a.tick@0", "b.tick@0.5"}));
    world().advance(5.0);
    EXPECT_EQ(
        log, (Log{"b.tick@0", "a.tick@0", "b.tick@0.5", "a.tock@1", "b.tock@1", "block.tick@1", "a.tick@2"}));
    EXPECT_DOUBLE_EQ(world().now(), 5.9);
    EXPECT_TRUE(kit::RunLoop::main().pendingCalls().empty());
}

TEST_F(RunLoopTest, ATurnRunsOnlyTheCallsDueWhenItBegan) {
    Recorder recorder(log, "r");
    kit::RunLoop& loop = kit::RunLoop::main();
    kit::performSelector(recorder, kit::sel("chain:"), nullptr, 0.0);
    kit::performSelector(recorder, tock, nullptr, 0.0);
    kit::performSelector(recorder, tock, nullptr, 1.0);
    EXPECT_TRUE(log.empty()) << "a zero delay never runs inside the call that made it";

    EXPECT_EQ(loop.runDueCalls(), 2u);
    EXPECT_EQ(log, (Log{"r.chain@0", "r.tock@0"})) << "the call chain made is due but waits";
    EXPECT_EQ(loop.runDueCalls(), 1u);
    EXPECT_EQ(log.back(), "r.tick@0");
    EXPECT_EQ(loop.runDueCalls(), 0u);
    EXPECT_EQ(loop.nextDueTime(), 1.0);
}

TEST_F(RunLoopTest, CancellationMatchesTargetSelectorAndArgumentByIdentity) {
    Recorder target(log, "target"), other(log, "other");
    kit::Object argument, lookalike;
    kit::performSelector(target, tick, nullptr, 1.0);
    kit::performSelector(target, tick, nullptr, 2.0);
    kit::performSelector(target, tick, &argument, 1.0);
    kit::performSelector(target, tock, nullptr, 1.0);
    kit::performSelector(other, tick, nullptr, 1.0);

    kit::cancelPreviousPerformRequests(target, tick, nullptr);
    kit::cancelPreviousPerformRequests(target, tick, &lookalike);
    world().advance(3.0);
    EXPECT_EQ(log, (Log{"target.tick@1", "target.tock@1", "other.tick@1"}));

    kit::performSelector(target, tick, &argument, 1.0);
    kit::cancelPreviousPerformRequests(target, tick, &argument);
    EXPECT_EQ(kit::RunLoop::main().pendingCount(target, tick), 0u);
}

TEST_F(RunLoopTest, CallsNeverOutliveTheirTargetOrArgument) {
    auto target = std::make_unique<Recorder>(log, "gone");
    Recorder survivor(log, "survivor");
    auto argument = std::make_unique<kit::Object>();
    kit::performSelector(*target, tick, nullptr, 1.0);
    kit::performSelector(survivor, tick, argument.get(), 1.0);
    kit::performSelector(survivor, tock, nullptr, 1.0);
    target.reset();
    argument.reset();
    world().advance(2.0);
    EXPECT_EQ(log, (Log{"survivor.tock@1"}));
}

TEST_F(RunLoopTest, SleepingLetsTimePassWithoutATurn) {
    Recorder recorder(log, "r");
    kit::performSelector(recorder, tick, nullptr, 0.25);
    kit::sleepForTimeInterval(1.0);
    EXPECT_TRUE(log.empty());
    EXPECT_DOUBLE_EQ(world().sleptSeconds(), 1.0);
    world().runUntilIdle();
    EXPECT_EQ(log, (Log{"r.tick@1"}));
}

TEST_F(RunLoopTest, TheHostIsAskedOnlyForWakeUpTimesItDoesNotKnow) {
    Recorder recorder(log, "r");
    kit::performSelector(recorder, kit::sel("loop:"), nullptr, 0.25);
    std::size_t before = world().wakeUpRequests();
    world().advance(1.0);
    EXPECT_EQ(world().wakeUpRequests() - before, 4u) << "one request per turn of a self-rescheduling loop";

    before = world().wakeUpRequests();
    kit::performSelector(recorder, tock, nullptr, 5.0);
    kit::cancelPreviousPerformRequests(recorder, tock, nullptr);
    EXPECT_EQ(world().wakeUpRequests(), before) << "the earliest call stayed where it was";

    // Made in a turn, a zero-delay call is due at the very time the host just woke for: that wake-up is
    // spent.
    kit::performSelector(recorder, kit::sel("chain:"), nullptr, 0.0);
    world().runUntilIdle();
    EXPECT_EQ(log, (Log{"r.loop@0.25", "r.loop@0.5", "r.loop@0.75", "r.loop@1", "r.chain@1", "r.tick@1"}));
}
