#include <gtest/gtest.h>

#include <vector>

#include "kit/core/Object.h"
#include "kit/foundation/NotificationCenter.h"
#include "support/HeadlessTest.h"

namespace {

class Listener : public kit::Object {
public:
    void heard(kit::Object* argument) {
        auto* notification = dynamic_cast<kit::Notification*>(argument);
        ASSERT_NE(notification, nullptr) << "observers always receive the notification";
        names.push_back(notification->name());
        senders.push_back(notification->object());
    }
    std::vector<std::string> names;
    std::vector<kit::Object*> senders;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Object::classDispatchTable(),
                                              {kit::action<&Listener::heard>("heard:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

}  // namespace

class NotificationCenterTest : public HeadlessTest {};

TEST_F(NotificationCenterTest, ObserversMatchByNameAndSenderOrAnySender) {
    auto& center = kit::NotificationCenter::workspaceCenter();
    Listener anySender, onlyA;
    kit::Object a, b;
    center.addObserver(anySender, kit::sel("heard:"), kit::WorkspaceActiveSpaceDidChangeNotification);
    center.addObserver(onlyA, kit::sel("heard:"), kit::WorkspaceActiveSpaceDidChangeNotification, &a);

    center.post(kit::WorkspaceActiveSpaceDidChangeNotification, &a);
    center.post(kit::WorkspaceActiveSpaceDidChangeNotification, &b);
    center.post(kit::WorkspaceDidActivateApplicationNotification, &a);

    EXPECT_EQ(anySender.senders, (std::vector<kit::Object*>{&a, &b}));
    EXPECT_EQ(onlyA.senders, (std::vector<kit::Object*>{&a}));
    // The two centres are separate.
    kit::NotificationCenter::defaultCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification, &a);
    EXPECT_EQ(anySender.names.size(), 2u);
}

TEST_F(NotificationCenterTest, RemovingAnObserverTakesItOutOfEverythingItObserved) {
    auto& center = kit::NotificationCenter::defaultCenter();
    Listener listener;
    center.addObserver(listener, kit::sel("heard:"), kit::WindowDidUpdateNotification);
    center.addObserver(listener, kit::sel("heard:"), "Other");
    center.removeObserver(listener);
    center.post(kit::WindowDidUpdateNotification);
    center.post("Other");
    EXPECT_TRUE(listener.names.empty());

    // Destroying an observer withdraws it from both centres.
    {
        Listener shortLived;
        center.addObserver(shortLived, kit::sel("heard:"), "Other");
        kit::NotificationCenter::workspaceCenter().addObserver(shortLived, kit::sel("heard:"), "Other");
    }
    EXPECT_EQ(center.observerCount(), 0u);
    EXPECT_EQ(kit::NotificationCenter::workspaceCenter().observerCount(), 0u);
    center.post("Other");
}
