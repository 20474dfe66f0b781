#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/View.h"
#include "kit/appkit/Window.h"
#include "support/HeadlessTest.h"

namespace {

std::vector<std::string> events;

// Records when it wakes and what its outlet held by then.
class Part : public kit::View {
public:
    using View::View;
    ~Part() override { events.push_back("gone " + name); }
    void awakeFromNib() override {
        events.push_back("awake " + name + (partner ? " with " + partner->name : ""));
    }
    std::string name;
    Part* partner = nullptr;
};

class Owner : public kit::Object {
public:
    kit::Window* window = nullptr;
    Part* first = nullptr;
};

class Shared : public kit::Object {
public:
    static Shared& shared() {
        static Shared object;
        return object;
    }
    void awakeFromNib() override { ++awakenings; }
    int awakenings = 0;
};

// A window holding two parts that point at each other, plus the shared object twice; `extraClass` names a
// class that does not exist, made after everything else.
void buildWindow(kit::InterfaceBuilder& file, kit::Object* owner, const char* extraClass) {
    auto* self = static_cast<Owner*>(owner);
    auto* window = file.make<kit::Window>("NSWindow");
    auto* content = file.make<kit::View>("NSView");
    Part* parts[2];
    for (int i = 0; i < 2; ++i) {
        parts[i] = file.makeView<Part>("TestPart", kit::Rect(0, 0, 10, 10));
        parts[i]->name = i == 0 ? "first" : "second";
        file.addSubview(content, parts[i]);
    }
    file.setContentView(window, content);
    file.connect(parts[0]->partner, parts[1]);
    file.connect(parts[1]->partner, parts[0]);
    file.connect(self->window, window);
    file.connect(self->first, parts[0]);
    file.make<Shared>("TestShared");
    file.make<Shared>("TestShared");
    if (extraClass) {
        file.make<kit::Object>(extraClass);
    }
}

}  // namespace

class InterfaceFileTest : public HeadlessTest {
protected:
    InterfaceFileTest() {
        events.clear();
        kit::ClassRegistry::registerClass<Part>("TestPart");
        kit::ClassRegistry::registerSharedClass<Shared>("TestShared", &Shared::shared);
        kit::InterfaceFile::registerBuilder(
            "Test Window",
            [](kit::InterfaceBuilder& file, kit::Object* owner) { buildWindow(file, owner, nullptr); });
        kit::InterfaceFile::registerBuilder("Broken", [](kit::InterfaceBuilder& file, kit::Object* owner) {
            buildWindow(file, owner, "NoSuchClass");
        });
        kit::InterfaceFile::registerBuilder("Wrong Kind", [](kit::InterfaceBuilder& file, kit::Object*) {
            file.make<kit::Window>("NSView");
            file.make<kit::Object>("NoSuchClass");  // the first reason is the one told
        });
    }
};

TEST_F(InterfaceFileTest, OutletsAreConnectedBeforeAnyObjectWakesAndOnlyUnplacedObjectsAreTopLevel) {
    Owner owner;
    const int awakeningsBefore = Shared::shared().awakenings;
    std::vector<std::shared_ptr<kit::Object>> topLevel;
    auto file = kit::InterfaceFile::initWithNibNamed("Test Window");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->instantiateWithOwner(&owner, topLevel));

    EXPECT_EQ(events, (std::vector<std::string>{"awake first with second", "awake second with first"}))
        << "woken in the order made, each seeing the other";
    ASSERT_NE(owner.window, nullptr);
    EXPECT_EQ(owner.first->superview(), owner.window->contentView());
    EXPECT_EQ(Shared::shared().awakenings - awakeningsBefore, 2) << "a shared class yields its one object";
    ASSERT_EQ(topLevel.size(), 2u) << "the window and the shared object; placed views belong to the window";
    EXPECT_EQ(topLevel[0].get(), owner.window);
    EXPECT_EQ(topLevel[1].get(), &Shared::shared());

    // Outlets own nothing: the caller's top-level objects decide how long the file's objects live.
    topLevel.clear();
    EXPECT_EQ(events.size(), 4u);
    EXPECT_EQ(Shared::shared().awakenings - awakeningsBefore, 2) << "and the shared object stays";
}

TEST_F(InterfaceFileTest, AFileThatCannotBeLoadedMakesNothingAndTouchesNoOutlet) {
    const struct {
        const char* name;
        const char* logged;
        std::vector<std::string> events;  // nothing wakes; what was made is freed
    } cases[] = {
        {"No Such File",
         "Could not load the interface file \"No Such File\": there is no file of that name",
         {}},
        {"Broken",
         "Could not load the interface file \"Broken\": there is no class named NoSuchClass",
         {"gone first", "gone second"}},
        {"Wrong Kind",
         "Could not load the interface file \"Wrong Kind\": an object of class NSView is not of the kind its "
         "place needs",
         {}},
    };
    for (const auto& c : cases) {
        events.clear();
        Owner owner;
        std::vector<std::shared_ptr<kit::Object>> topLevel;
        auto file = kit::InterfaceFile::initWithNibNamed(c.name);
        EXPECT_FALSE(file && file->instantiateWithOwner(&owner, topLevel)) << c.name;
        EXPECT_EQ(owner.window, nullptr) << c.name;
        EXPECT_EQ(owner.first, nullptr) << c.name;
        EXPECT_TRUE(topLevel.empty()) << c.name;
        EXPECT_EQ(events, c.events) << c.name;
        ASSERT_FALSE(world().logMessages().empty()) << c.name;
        EXPECT_EQ(world().logMessages().back(), c.logged);
    }
}
