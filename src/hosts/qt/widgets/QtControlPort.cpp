#include "hosts/qt/widgets/QtControlPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "hosts/qt/widgets/QtButtonPeer.h"
#include "hosts/qt/widgets/QtFonts.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/SystemVersion.h"

namespace qthost {

namespace {

// Room for a control's frame around its text: left, right and the control's height.
struct Allowance {
    double leading;
    double trailing;
    double height;
};

Allowance allowance(const kit::Control& control, double lineHeight) {
    const double bezel =
        std::ceil(lineHeight) + (control.controlSize() == kit::ControlSize::Regular ? 8.0 : 6.0);
    if (const auto* button = dynamic_cast<const kit::Button*>(&control)) {
        return button->buttonType() == kit::ButtonType::Switch ? Allowance{22.0, 2.0, bezel}
                                                               : Allowance{14.0, 14.0, bezel};
    }
    if (dynamic_cast<const kit::PopUpButton*>(&control)) {
        return {10.0, 24.0, bezel};
    }
    if (const auto* field = dynamic_cast<const kit::TextField*>(&control)) {
        const bool framed = field->isBezeled() || field->isBordered();
        return framed ? Allowance{4.0, 4.0, std::ceil(lineHeight) + 6.0}
                      : Allowance{2.0, 2.0, std::ceil(lineHeight)};
    }
    return {0.0, 0.0, control.frame().height()};
}

kit::Size kitSize(const QSize& size) {
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

kit::Size buttonSize(const kit::Button& button, const QFont& font) {
    std::unique_ptr<QAbstractButton> widget;
    if (button.buttonType() == kit::ButtonType::Switch) {
        widget = std::make_unique<QCheckBox>();
    } else {
        widget = std::make_unique<QPushButton>();
    }
    widget->setFont(font);
    widget->setText(QtButtonPeer::widgetText(button.title()));
    return kitSize(widget->sizeHint());
}

kit::Size textFieldSize(const kit::TextField& field, const QFont& font) {
    const QString text = QString::fromStdString(field.stringValue());
    const bool framed = field.isBezeled() || field.isBordered();
    if (!field.isEditable()) {
        QLabel label;
        label.setFont(font);
        label.setTextFormat(Qt::PlainText);
        label.setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
        label.setText(text);
        return kitSize(label.sizeHint());
    }
    QLineEdit lineEdit;
    lineEdit.setFont(font);
    lineEdit.setFrame(framed);
    // A line edit's size hint holds room for 17 "x" whatever its text; the rest is its frame and margins.
    const QSize hint = lineEdit.sizeHint();
    const QFontMetricsF metrics(font);
    const double chrome = hint.width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    return {std::ceil(metrics.horizontalAdvance(text)) + chrome, static_cast<double>(hint.height())};
}

kit::Size popUpButtonSize(const kit::PopUpButton& popUp, const QFont& font) {
    const QFontMetricsF metrics(font);
    double widest = 0.0;
    for (const kit::MenuItem* item : popUp.itemArray()) {
        const auto title = item->attributedTitleSize();
        const double titleWidth =
            title ? title->width : metrics.horizontalAdvance(QString::fromStdString(item->title()));
        widest = std::max(widest, titleWidth + (item->imageSize() ? item->imageSize()->width : 0.0));
    }
    // A combo box fitted to one empty item is all frame and arrow.
    QComboBox combo;
    combo.setFont(font);
    combo.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo.addItem(QString());
    const QSize chrome = combo.sizeHint();
    // The platform's natural size of a pop-up button leaves room beyond what a fitted one needs, which
    // the size-to-fit pop-up buttons take off again: leave it too, or they would clip their title.
    const double slack = kit::SystemVersion::current().isAtLeast(26, 0) ? 10.0 : 20.0;
    return {std::ceil(widest) + chrome.width() + slack, static_cast<double>(chrome.height())};
}

// Where a pop-up button's menu opens: with the selected item over the button, as the platform does, or
// below a pull-down; at the pointer when the button is not on screen.
QPoint menuPosition(const kit::PopUpButton& button) {
    kit::Window* window = button.window();
    auto* windowPeer = window ? dynamic_cast<QtWindowPeer*>(window->peer()) : nullptr;
    const QtViewPeer* peer = windowPeer ? windowPeer->viewPeer(button) : nullptr;
    if (!peer || !peer->widget().isVisible()) {
        return QCursor::pos();
    }
    const QWidget& widget = peer->widget();
    return widget.mapToGlobal(QPoint(0, button.pullsDown() ? widget.height() : 0));
}

}  // namespace

kit::Size QtControlPort::sizeOfString(std::string_view text, const kit::Font& font) {
    const QFontMetricsF metrics(qtFont(font));
    return {metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
            metrics.height()};
}

kit::Size QtControlPort::cellSize(const kit::Control& control) {
    const QFont font = qtFont(control.font());
    if (const auto* button = dynamic_cast<const kit::Button*>(&control)) {
        return buttonSize(*button, font);
    }
    if (const auto* field = dynamic_cast<const kit::TextField*>(&control)) {
        return textFieldSize(*field, font);
    }
    if (const auto* popUp = dynamic_cast<const kit::PopUpButton*>(&control)) {
        return popUpButtonSize(*popUp, font);
    }
    // Sliders, colour wells and the like have no content to fit.
    return control.frame().size;
}

kit::Rect QtControlPort::titleRect(const kit::Control& control, const kit::Rect& bounds) {
    const double lineHeight = sizeOfString("", control.font()).height;
    const Allowance frame = allowance(control, lineHeight);
    return {bounds.minX() + frame.leading, bounds.minY() + std::floor((bounds.height() - lineHeight) * 0.5),
            std::max(bounds.width() - frame.leading - frame.trailing, 0.0), lineHeight};
}

std::optional<std::size_t> QtControlPort::trackMenu(const kit::PopUpButton& button) {
    QMenu menu;
    menu.setFont(qtFont(button.font()));
    const std::vector<kit::MenuItem*> items = button.itemArray();
    QAction* selected = nullptr;
    for (const kit::MenuItem* item : items) {
        QAction* action = menu.addAction(QString::fromStdString(item->title()));
        action->setEnabled(item->isEnabled());
        action->setCheckable(!button.pullsDown());
        action->setChecked(item == button.selectedItem());
        if (action->isChecked()) {
            selected = action;
        }
    }
    QAction* over = button.pullsDown() ? nullptr : selected;
    QAction* chosen = nullptr;
    QObject::connect(&menu, &QMenu::triggered, [&chosen](QAction* action) { chosen = action; });
    // What QMenu::exec does, but with the selected item highlighted however the menu was opened, as the
    // platform does; exec highlights only what lies under the pointer.
    QEventLoop loop;
    QObject::connect(&menu, &QMenu::aboutToHide, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    menu.popup(menuPosition(button), over);
    menu.setActiveAction(over);
    loop.exec();
    const auto index = menu.actions().indexOf(chosen);
    return chosen && index >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(index)) : std::nullopt;
}

}  // namespace qthost
