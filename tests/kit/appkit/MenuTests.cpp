#include <gtest/gtest.h>

#include <memory>

#include "hosts/headless/HeadlessHost.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Menu.h"

using kit::Menu;
using kit::MenuItem;

namespace {

std::vector<std::string> titles(const Menu& menu) {
    std::vector<std::string> result;
    for (const MenuItem* item : menu.itemArray()) {
        result.push_back(item->title());
    }
    return result;
}

}  // namespace

TEST(MenuTest, ItemsAreRemovedOnlyAtIndexesThatHoldOne) {
    Menu menu("Updates");
    for (const char* title : {"a", "b", "c"}) {
        menu.addItem(std::make_unique<MenuItem>(title));
    }
    const MenuItem* c = menu.itemAtIndex(2);
    EXPECT_EQ(menu.itemAtIndex(3), nullptr);
    menu.removeItemAtIndex(3);
    menu.removeItemAtIndex(-1);
    menu.removeItemAtIndex(0);
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(menu.indexOfItem(c), 1);
}

namespace {

// A menu's delegate that adds one item per opening, and a target that refuses one action.
class Filler : public kit::Object, public kit::MenuDelegate, public kit::MenuItemValidation {
public:
    void menuNeedsUpdate(Menu& menu) override { menu.addItemWithTitle("Refused", kit::sel("refused:"), ""); }
    bool validateMenuItem(MenuItem& item) override { return item.action() != kit::sel("refused:"); }
    void act(kit::Object* sender) { senders.push_back(sender); }
    std::vector<kit::Object*> senders;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(
            &Object::classDispatchTable(),
            {kit::action<&Filler::act>("accepted:"), kit::action<&Filler::act>("refused:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

class Delegate : public Filler, public kit::ApplicationDelegate {};

}  // namespace

TEST(MenuTest, AnUpdateFillsTheMenuThenEnablesWhatSomeoneAnswersAndAllows) {
    headless::HeadlessHost world;
    Filler filler;
    Delegate delegate;
    kit::Application::shared().setDelegate(&delegate);
    Menu menu;
    menu.setDelegate(&filler);
    MenuItem& accepted = menu.addItemWithTitle("Accepted", kit::sel("accepted:"), "a");
    accepted.setTarget(&filler);
    MenuItem& toDelegate = menu.addItemWithTitle("To the delegate", kit::sel("accepted:"), "");
    MenuItem& unanswered = menu.addItemWithTitle("Unanswered", kit::sel("nobody:"), "");
    MenuItem& informational = menu.addItemWithTitle("Informational", {}, "");
    MenuItem& separator = menu.addItem(MenuItem::separatorItem());
    MenuItem& parent = menu.addItemWithTitle("More", {}, "");
    parent.setSubmenu(std::make_unique<Menu>("More"));
    menu.update();

    EXPECT_EQ(titles(menu).back(), "Refused");
    const std::vector<bool> enabled{accepted.isEnabled(),
                                    toDelegate.isEnabled(),
                                    unanswered.isEnabled(),
                                    informational.isEnabled(),
                                    separator.isEnabled(),
                                    parent.isEnabled(),
                                    menu.itemAtIndex(6)->isEnabled()};
    EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, false, false, true, false}));
    EXPECT_TRUE(toDelegate.sendAction());
    EXPECT_FALSE(unanswered.sendAction());
    EXPECT_EQ(delegate.senders, std::vector<kit::Object*>{&toDelegate});

    menu.setAutoenablesItems(false);
    menu.update();
    EXPECT_TRUE(menu.itemAtIndex(7)->isEnabled()) << "left as made";
}
