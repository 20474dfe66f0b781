#include "hosts/qt/widgets/QtMenuPresenter.h"

#include <QIcon>
#include <QKeySequence>

#include "kit/appkit/Menu.h"
#include "kit/graphics/Image.h"

namespace qthost {

namespace {

// The desktop icon theme's names for the system symbols the kit knows.
QIcon iconFor(const kit::Image* image) {
    if (!image || !image->symbolName()) {
        return {};
    }
    if (*image->symbolName() == "arrow.clockwise") {
        return QIcon::fromTheme(QStringLiteral("view-refresh"));
    }
    if (*image->symbolName() == "binoculars") {
        return QIcon::fromTheme(QStringLiteral("edit-find"));
    }
    return {};
}

// The title, with the badge as trailing text where a shortcut would be shown.
QString textFor(const kit::MenuItem& item) {
    QString text = QString::fromStdString(item.title());
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (item.badge()) {
        text += QLatin1Char('\t') + QString::fromStdString(item.badge()->string);
    }
    return text;
}

}  // namespace

QtMenuPresenter::QtMenuPresenter(kit::Menu& model, QMenu& menu) : _model(model), _menu(menu) {
    QObject::connect(&_menu, &QMenu::aboutToShow, this, [this] { rebuild(); });
    // Filled once now as well, so key equivalents work before the menu ever opens.
    rebuild();
}

QtMenuPresenter::~QtMenuPresenter() = default;

void QtMenuPresenter::rebuild() {
    _model.update();
    _menu.clear();
    _presenters.clear();
    _submenus.clear();
    for (kit::MenuItem* item : _model.itemArray()) {
        addItem(*item);
    }
}

void QtMenuPresenter::addItem(kit::MenuItem& item) {
    if (item.isSeparatorItem()) {
        _menu.addSeparator();
        return;
    }
    QAction* action = nullptr;
    if (kit::Menu* submenu = item.submenu()) {
        auto& shown = *_submenus.emplace_back(std::make_unique<QMenu>(textFor(item)));
        _presenters.push_back(std::make_unique<QtMenuPresenter>(*submenu, shown));
        action = _menu.addMenu(&shown);
    } else {
        action = _menu.addAction(textFor(item));
        QObject::connect(action, &QAction::triggered, this, [this, item = &item] { choose(item); });
    }
    action->setIcon(iconFor(item.image().get()));
    action->setEnabled(item.isEnabled());
    if (item.state() == kit::ControlStateValue::On) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    if (!item.keyEquivalent().empty()) {
        action->setShortcut(
            QKeySequence(QStringLiteral("Ctrl+") + QString::fromStdString(item.keyEquivalent()).toUpper()));
    }
}

void QtMenuPresenter::choose(kit::MenuItem* item) {
    // The model may have been rebuilt since the item was shown.
    if (_model.indexOfItem(item) >= 0) {
        item->sendAction();
    }
}

QtMenuBar::QtMenuBar(kit::Menu& mainMenu, QWidget& window) : QMenuBar(&window) {
    for (kit::MenuItem* item : mainMenu.itemArray()) {
        if (kit::Menu* submenu = item->submenu()) {
            auto& menu = *_menus.emplace_back(std::make_unique<QMenu>(QString::fromStdString(item->title())));
            _presenters.push_back(std::make_unique<QtMenuPresenter>(*submenu, menu));
            addMenu(&menu);
        }
    }
}

QtMenuBar::~QtMenuBar() = default;

}  // namespace qthost
