#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/foundation/RunLoop.h"
#include "support/HeadlessTest.h"

namespace {

// Records every call it receives with the virtual time it arrived at.
class Recorder : public kit::Object {
public:
    explicit Recorder(headless::HeadlessHost& world, std::string name = "")
        : _world(world), _name(std::move(name)) {}

    void tick(kit::Object* argument) { calls.push_back({_name + "tick", argument, _world.now()}); }
    void tock(kit::Object* argument) { calls.push_back({_name + "tock", argument, _world.now()}); }
    void chain(kit::Object*) {
        calls.push_back({_name + "chain", nullptr, _world.now()});
        kit::performSelector(*this, kit::sel("tick:"), nullptr, 0.0);
        immediateCallsDuringChain = calls.size();
    }

    struct Call {
        std::string what;
        kit::Object* argument;
        double time;
    };
    std::vector<Call> calls;
    std::size_t immediateCallsDuringChain = 0;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(
            &Object::classDispatchTable(),
            {kit::action<&Recorder::tick>("tick:"), kit::action<&Recorder::tock>("tock:"),
             kit::action<&Recorder::chain>("chain:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    headless::HeadlessHost& _world;
    std::string _name;
};

const kit::Selector tick = kit::sel("tick:");
const kit::Selector tock = kit::sel("tock:");

}  // namespace

class RunLoopTest : public HeadlessTest {};

TEST_F(RunLoopTest, DelayedCallsFireInTimeOrderAndTiesInTheOrderMade) {
    Recorder a(world(), "a."), b(world(), "b.");
    kit::performSelector(a, tick, nullptr, 2.0);
    kit::performSelector(b, tick, nullptr, 0.5);
    kit::performSelector(a, tock, nullptr, 1.0);
    kit::performSelector(b, tock, nullptr, 1.0);

    world().advance(0.9);
    ASSERT_EQ(b.calls.size(), 1u);
    EXPECT_DOUBLE_EQ(b.calls[0].time, 0.5);
    EXPECT_TRUE(a.calls.empty());

    world().advance(5.0);
    ASSERT_EQ(a.calls.size(), 2u);
    EXPECT_EQ(a.calls[0].what, "a.tock");
    EXPECT_DOUBLE_EQ(a.calls[0].time, 1.0);
    EXPECT_EQ(a.calls[1].what, "a.tick");
    EXPECT_DOUBLE_EQ(a.calls[1].time, 2.0);
    ASSERT_EQ(b.calls.size(), 2u);
    EXPECT_EQ(b.calls[1].what, "b.tock");
    EXPECT_DOUBLE_EQ(world().now(), 5.9);
    EXPECT_TRUE(kit::RunLoop::main().pendingCalls().empty());
}

TEST_F(RunLoopTest, ZeroDelayRunsOnTheNextTurnNeverDuringTheCall) {
    Recorder recorder(world());
    kit::performSelector(recorder, tick, nullptr, 0.0);
    EXPECT_TRUE(recorder.calls.empty()) << "a zero delay must not run inside performSelector";
    world().runUntilIdle();
    ASSERT_EQ(recorder.calls.size(), 1u);

    // A call made by a call, with zero delay, waits for the turn after the one running it.
    kit::performSelector(recorder, kit::sel("chain:"), nullptr, 1.0);
    world().advance(1.0);
    EXPECT_EQ(recorder.immediateCallsDuringChain, 2u);
    ASSERT_EQ(recorder.calls.size(), 3u);
    EXPECT_EQ(recorder.calls[2].what, "tick");
    EXPECT_DOUBLE_EQ(recorder.calls[2].time, 1.0);
}

TEST_F(RunLoopTest, CancellationMatchesTargetSelectorAndArgumentOnly) {
    Recorder target(world()), other(world());
    kit::Object argument;
    kit::performSelector(target, tick, nullptr, 1.0);
    kit::performSelector(target, tick, nullptr, 2.0);
    kit::performSelector(target, tick, &argument, 1.0);
    kit::performSelector(target, tock, nullptr, 1.0);
    kit::performSelector(other, tick, nullptr, 1.0);

    kit::cancelPreviousPerformRequests(target, tick, nullptr);
    EXPECT_EQ(kit::RunLoop::main().pendingCount(target, tick), 1u);

    world().advance(3.0);
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[0].what, "tick");
    EXPECT_EQ(target.calls[0].argument, &argument);
    EXPECT_EQ(target.calls[1].what, "tock");
    EXPECT_EQ(other.calls.size(), 1u);

    // An argument cancels only calls made with that very argument.
    kit::Object lookalike;
    kit::performSelector(target, tick, &argument, 1.0);
    kit::cancelPreviousPerformRequests(target, tick, &lookalike);
    EXPECT_EQ(kit::RunLoop::main().pendingCount(target, tick), 1u);
    kit::cancelPreviousPerformRequests(target, tick, &argument);
    EXPECT_EQ(kit::RunLoop::main().pendingCount(target, tick), 0u);
}

TEST_F(RunLoopTest, CallsNeverOutliveTheirTargetOrArgument) {
    auto target = std::make_unique<Recorder>(world());
    Recorder survivor(world());
    auto argument = std::make_unique<kit::Object>();
    kit::performSelector(*target, tick, nullptr, 1.0);
    kit::performSelector(survivor, tick, argument.get(), 1.0);
    kit::performSelector(survivor, tock, nullptr, 1.0);
    target.reset();
    argument.reset();
    world().advance(2.0);
    ASSERT_EQ(survivor.calls.size(), 1u);
    EXPECT_EQ(survivor.calls[0].what, "tock");
}

TEST_F(RunLoopTest, BlocksAndSleep) {
    std::vector<double> fired;
    kit::dispatchAfter(0.5, [&] { fired.push_back(world().now()); });
    Recorder recorder(world());
    kit::performSelector(recorder, tick, nullptr, 0.25);

    // Sleeping blocks the main thread: time passes but nothing fires until the next turn.
    kit::sleepForTimeInterval(1.0);
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_DOUBLE_EQ(world().sleptSeconds(), 1.0);
    world().runUntilIdle();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_DOUBLE_EQ(fired[0], 1.0);
    EXPECT_EQ(recorder.calls.size(), 1u);
}
