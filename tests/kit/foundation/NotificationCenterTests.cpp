#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/foundation/NotificationCenter.h"
#include "support/HeadlessTest.h"

namespace {

// Notes "<listener> <notification>" in a shared log for each notification it hears, then runs `onHeard`.
class Listener : public kit::Object {
public:
    Listener(std::vector<std::string>& log, std::string name) : _log(log), _name(std::move(name)) {}

    void heard(kit::Object* argument) {
        auto* notification = dynamic_cast<kit::Notification*>(argument);
        ASSERT_NE(notification, nullptr) << "observers always receive the notification";
        _log.push_back(_name + " " + notification->name());
        if (onHeard) {
            onHeard();
        }
    }
    std::function<void()> onHeard;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Object::classDispatchTable(),
                                              {kit::action<&Listener::heard>("heard:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    std::vector<std::string>& _log;
    std::string _name;
};

using Log = std::vector<std::string>;
const kit::Selector heard = kit::sel("heard:");

}  // namespace

class NotificationCenterTest : public HeadlessTest {
protected:
    Log log;
};

TEST_F(NotificationCenterTest, ObserversHearTheirNameFromTheirSenderInTheOrderTheyRegistered) {
    auto& center = kit::NotificationCenter::workspaceCenter();
    Listener fromA(log, "fromA"), everyName(log, "everyName"), anySender(log, "anySender");
    kit::Object a, b;
    center.addObserver(fromA, heard, "Space", &a);
    center.addObserver(everyName, heard, "");
    center.addObserver(anySender, heard, "Space");

    center.post("Space", &a);
    center.post("Space", &b);
    center.post("Activate", &a);
    EXPECT_EQ(log, (Log{"fromA Space", "everyName Space", "anySender Space", "everyName Space",
                        "anySender Space", "everyName Activate"}));

    log.clear();
    kit::NotificationCenter::defaultCenter().post("Space", &a);
    EXPECT_TRUE(log.empty()) << "the two centres are separate";
}

TEST_F(NotificationCenterTest, ObserversRemovedOrDestroyedDuringADeliveryAreNotCalledAfterwards) {
    auto& center = kit::NotificationCenter::defaultCenter();
    Listener first(log, "first"), self(log, "self"), removed(log, "removed"), late(log, "late");
    auto destroyed = std::make_unique<Listener>(log, "destroyed");
    first.onHeard = [&] {
        center.removeObserver(removed);
        destroyed.reset();
        center.addObserver(late, heard, "N");
    };
    self.onHeard = [&] { center.removeObserver(self); };
    center.addObserver(first, heard, "N");
    center.addObserver(self, heard, "N");
    center.addObserver(self, heard, "");
    center.addObserver(removed, heard, "N");
    center.addObserver(*destroyed, heard, "N");

    center.post("N");
    EXPECT_EQ(log, (Log{"first N", "self N"})) << "an observer added meanwhile hears the next post";
    center.post("N");
    EXPECT_EQ(log, (Log{"first N", "self N", "first N", "late N"}));
}

TEST_F(NotificationCenterTest, ADestroyedObserverLeavesEveryCentre) {
    {
        Listener shortLived(log, "shortLived");
        kit::NotificationCenter::defaultCenter().addObserver(shortLived, heard, "N");
        kit::NotificationCenter::workspaceCenter().addObserver(shortLived, heard, "N");
    }
    EXPECT_EQ(kit::NotificationCenter::defaultCenter().observerCount(), 0u);
    EXPECT_EQ(kit::NotificationCenter::workspaceCenter().observerCount(), 0u);
}
