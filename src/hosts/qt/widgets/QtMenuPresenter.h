#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <memory>
#include <vector>

namespace kit {
class Menu;
class MenuItem;
}  // namespace kit

namespace qthost {

// Shows a kit menu in a QMenu. The QMenu is filled afresh from the model just before it shows, after
// the model's update (its delegate, then validation), so it always shows what the kit decided; a badge
// is trailing text, a symbol image a themed icon, a key equivalent Ctrl+key. Choosing an item sends its
// action through the kit.
class QtMenuPresenter final : public QObject {
public:
    QtMenuPresenter(kit::Menu& model, QMenu& menu);
    ~QtMenuPresenter() override;

private:
    void rebuild();
    void addItem(kit::MenuItem& item);
    void choose(kit::MenuItem* item);

    kit::Menu& _model;
    QMenu& _menu;
    // Before the presenters: a submenu's presenter goes first, then its menu.
    std::vector<std::unique_ptr<QMenu>> _submenus;
    std::vector<std::unique_ptr<QtMenuPresenter>> _presenters;
};

// A window's menu bar showing the application's main menu: one menu per item that has a submenu.
class QtMenuBar final : public QMenuBar {
public:
    QtMenuBar(kit::Menu& mainMenu, QWidget& window);
    ~QtMenuBar() override;

private:
    std::vector<std::unique_ptr<QMenu>> _menus;
    std::vector<std::unique_ptr<QtMenuPresenter>> _presenters;
};

}  // namespace qthost
