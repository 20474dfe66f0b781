#include <gtest/gtest.h>

#include <algorithm>

#include "hosts/qt/x11/X11WindowModel.h"

using namespace qthost;

namespace {

constexpr X11WindowId editor = 10;
constexpr X11WindowId terminal = 11;
constexpr X11WindowId panel = 20;
constexpr X11WindowId editorFrame = 110;

X11WindowModel::Reading reading(X11WindowId id, std::string name = "first", X11WindowId frame = 0) {
    X11WindowRecord record;
    record.id = id;
    record.name = std::move(name);
    return X11WindowModel::Reading{id, record, frame ? frame : id};
}

X11RootRecord managerListing(std::vector<X11WindowId> windows) {
    X11RootRecord root;
    root.windowManagerSelectionOwned = true;
    root.clientListStacking = std::move(windows);
    return root;
}

X11RootRecord noManager(std::vector<X11WindowId> children) {
    X11RootRecord root;
    root.queryTree = std::move(children);
    return root;
}

std::string nameOf(const X11WindowModel& model, X11WindowId id) {
    const auto windows = model.windows();
    const auto found =
        std::find_if(windows.begin(), windows.end(), [id](const auto& w) { return w.id == id; });
    return found == windows.end() ? "absent" : found->name;
}

// A model that has read the editor (in a frame), the terminal and the panel once.
X11WindowModel settled(X11RootRecord root) {
    X11WindowModel model;
    model.storeRoot(std::move(root));
    const std::vector<X11WindowId> order{editor, terminal, panel};
    EXPECT_EQ(model.windowsToRead(order), order);
    model.store({reading(editor, "first", editorFrame), reading(terminal), reading(panel)}, order);
    EXPECT_TRUE(model.windowsToRead(order).empty());
    return model;
}

}  // namespace

TEST(X11WindowModel, OnlyWhatTheEventsNameIsReadAgain) {
    const std::vector<X11WindowId> order{editor, terminal, panel};
    const struct {
        const char* what;
        X11WindowChanges changes;
        std::vector<X11WindowId> toRead;
    } cases[] = {
        {"nothing happened", {}, {}},
        {"a property of one window", {.windows = {terminal}}, {terminal}},
        {"the frame holding a window moved", {.windows = {editorFrame}}, {editor}},
        {"a window nobody lists", {.windows = {999}}, {}},
        {"the root's properties: the windows stand", {.root = true, .windows = {}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        X11WindowModel model = settled(managerListing(order));
        model.invalidate(c.changes);
        EXPECT_EQ(model.windowsToRead(order), c.toRead);
        EXPECT_EQ(model.rootIsStale(), c.changes.root);
    }
}

// Under a manager its list gives the order; without one, any change among the root's children may reorder.
TEST(X11WindowModel, TheRootsChildrenChangingMattersOnlyWithoutAManager) {
    X11WindowModel managed = settled(managerListing({editor, terminal, panel}));
    managed.invalidate({.rootChildren = true, .windows = {}});
    EXPECT_FALSE(managed.rootIsStale());

    X11WindowModel bare = settled(noManager({editor, terminal, panel}));
    bare.invalidate({.rootChildren = true, .windows = {}});
    EXPECT_TRUE(bare.rootIsStale());
    bare.storeRoot(noManager({terminal, editor, panel}));
    EXPECT_FALSE(bare.rootIsStale());
}

TEST(X11WindowModel, KeepsWhatWasReadAndForgetsWhatLeft) {
    X11WindowModel model = settled(managerListing({editor, terminal, panel}));
    model.invalidate({.windows = {terminal}});
    model.store({reading(terminal, "second")}, {editor, terminal, panel});
    EXPECT_EQ(nameOf(model, terminal), "second");
    EXPECT_EQ(nameOf(model, editor), "first");

    // The terminal vanished while it was read, yet stays listed: it is not asked about at every check. The
    // editor is no longer listed.
    model.invalidate({.windows = {terminal}});
    model.store({X11WindowModel::Reading{terminal, std::nullopt, terminal}}, {terminal, panel});
    EXPECT_TRUE(model.windowsToRead({terminal, panel}).empty());
    EXPECT_EQ(model.windowCount(), 1u);
    EXPECT_EQ(nameOf(model, terminal), "absent");
    EXPECT_EQ(nameOf(model, editor), "absent");
    // A window that comes back is read afresh once events name it, and its old frame no longer speaks for it.
    const std::vector<X11WindowId> all{editor, terminal, panel};
    model.invalidate({.windows = {terminal}});
    EXPECT_EQ(model.windowsToRead(all), (std::vector<X11WindowId>{editor, terminal}));
    model.store({reading(editor, "back"), reading(terminal)}, all);
    EXPECT_TRUE(model.windowsToRead(all).empty());
    model.invalidate({.windows = {editorFrame}});
    EXPECT_TRUE(model.windowsToRead(all).empty());
}
