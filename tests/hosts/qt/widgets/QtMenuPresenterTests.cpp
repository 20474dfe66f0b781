#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/QtMenuPresenter.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/Menu.h"
#include "kit/appkit/Window.h"

namespace {

// Fills its menu at each opening, counting openings, and takes the "chosen:" action.
class Owner : public kit::Object, public kit::MenuDelegate {
public:
    void menuNeedsUpdate(kit::Menu& menu) override {
        ++openings;
        menu.removeAllItems();
        kit::MenuItem& check = menu.addItemWithTitle("Check Now...", kit::sel("chosen:"), "");
        check.setTarget(this);
        check.setBadge(kit::MenuItemBadge{"2.0"});
        check.setState(kit::ControlStateValue::On);
        menu.addItemWithTitle("Last check: today", {}, "");
        menu.addItem(kit::MenuItem::separatorItem());
        menu.addItemWithTitle("Quit", kit::sel("chosen:"), "q").setTarget(this);
    }
    void chosen(kit::Object* sender) { senders.push_back(sender); }
    int openings = 0;
    std::vector<kit::Object*> senders;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Object::classDispatchTable(),
                                              {kit::action<&Owner::chosen>("chosen:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

}  // namespace

TEST(QtMenuPresenterTest, AMenuIsRebuiltFromItsUpdatedModelJustBeforeItShows) {
    qthost::QtHost host;
    Owner owner;
    kit::Menu model("Updates");
    model.setDelegate(&owner);
    QMenu menu;
    qthost::QtMenuPresenter presenter(model, menu);
    emit menu.aboutToShow();
    EXPECT_EQ(owner.openings, 2) << "once when presented, then at each opening";

    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Check Now...\t2.0")) << "the badge trails the title";
    EXPECT_TRUE(actions[0]->isChecked());
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isEnabled()) << "informational";
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));

    actions[3]->trigger();
    EXPECT_EQ(owner.senders, std::vector<kit::Object*>{model.itemAtIndex(3)});
}

TEST(QtMenuPresenterTest, AClosableWindowShowsTheMainMenuInABarAboveItsContent) {
    qthost::QtHost host;
    auto mainMenu = std::make_unique<kit::Menu>("Main Menu");
    auto application = std::make_unique<kit::MenuItem>("Awning");
    application->setSubmenu(std::make_unique<kit::Menu>("Awning"));
    mainMenu->addItem(std::move(application));
    kit::Menu::setMainMenu(std::move(mainMenu));

    kit::Window window(kit::Rect(100, 100, 400, 300),
                       kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                       kit::BackingStoreType::Buffered, false);
    kit::Window alert(kit::Rect(100, 100, 400, 300), kit::WindowStyleMaskTitled,
                      kit::BackingStoreType::Buffered, false);
    window.makeKeyAndOrderFront(nullptr);
    alert.makeKeyAndOrderFront(nullptr);
    const QWidget& top = dynamic_cast<qthost::QtWindowPeer&>(*window.peer()).widget();
    const auto* bar = top.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), QStringLiteral("Awning"));
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(top.geometry(), QRect(100, screenHeight - 400 - bar->height(), 400, 300 + bar->height()))
        << "the content keeps the kit's frame; the bar sits above it";
    EXPECT_EQ(dynamic_cast<qthost::QtWindowPeer&>(*alert.peer()).widget().findChild<QMenuBar*>(), nullptr);
}
