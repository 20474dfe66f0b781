#include <gtest/gtest.h>

#include <memory>

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

TEST(MenuTest, ItemsAreInsertedAtClampedIndexesAndFoundByTag) {
    Menu menu("Updates");
    menu.addItem(std::make_unique<MenuItem>("b"));
    menu.insertItem(std::make_unique<MenuItem>("a"), -5);
    menu.insertItem(std::make_unique<MenuItem>("d"), 99);
    MenuItem& c = menu.insertItem(std::make_unique<MenuItem>("c"), 2);
    c.setTag(7);
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(menu.itemWithTag(7), &c);
    EXPECT_EQ(menu.itemWithTag(8), nullptr);
    EXPECT_EQ(menu.indexOfItem(&c), 2);
    EXPECT_EQ(menu.itemAtIndex(4), nullptr);

    menu.removeItemAtIndex(4);
    menu.removeItemAtIndex(-1);
    menu.removeItemAtIndex(0);
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_EQ(menu.indexOfItem(&c), 1);

    auto submenu = std::make_unique<Menu>("More");
    Menu* more = submenu.get();
    c.setSubmenu(std::move(submenu));
    EXPECT_EQ(c.submenu(), more);
}
