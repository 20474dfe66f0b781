#include "hosts/qt/QtControlPort.h"

#include <QCursor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMenu>
#include <algorithm>
#include <cmath>

#include "kit/appkit/Button.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TextField.h"

namespace qthost {

namespace {

// The platform's named weights and Qt's; a weight in between takes the nearest name.
QFont::Weight qtWeight(double weight) {
    struct Pair {
        double platform;
        QFont::Weight qt;
    };
    static constexpr Pair pairs[] = {{-0.8, QFont::Thin},  {-0.6, QFont::ExtraLight}, {-0.4, QFont::Light},
                                     {0.0, QFont::Normal}, {0.23, QFont::Medium},     {0.3, QFont::DemiBold},
                                     {0.4, QFont::Bold},   {0.56, QFont::ExtraBold},  {0.62, QFont::Black}};
    const auto nearest =
        std::min_element(std::begin(pairs), std::end(pairs), [&](const Pair& a, const Pair& b) {
            return std::abs(a.platform - weight) < std::abs(b.platform - weight);
        });
    return nearest->qt;
}

QFont qtFont(const kit::Font& font) {
    QFont qfont = font.isSystemFont() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                      : QFont(QString::fromStdString(font.familyName()));
    if (font.pointSize() > 0.0) {
        qfont.setPointSizeF(font.pointSize());
    }
    qfont.setWeight(qtWeight(font.weight()));
    return qfont;
}

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

}  // namespace

kit::Size QtControlPort::sizeOfString(std::string_view text, const kit::Font& font) {
    const QFontMetricsF metrics(qtFont(font));
    return {metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
            metrics.height()};
}

kit::Size QtControlPort::cellSize(const kit::Control& control) {
    const kit::Font& font = control.font();
    const Allowance frame = allowance(control, sizeOfString("", font).height);
    double textWidth = control.frame().width();
    if (const auto* button = dynamic_cast<const kit::Button*>(&control)) {
        textWidth = sizeOfString(button->title(), font).width;
    } else if (const auto* field = dynamic_cast<const kit::TextField*>(&control)) {
        textWidth = sizeOfString(field->stringValue(), font).width;
    } else if (const auto* popUp = dynamic_cast<const kit::PopUpButton*>(&control)) {
        textWidth = 0.0;
        for (const kit::MenuItem* item : popUp->itemArray()) {
            const auto title = item->attributedTitleSize();
            textWidth = std::max(textWidth, (title ? title->width : sizeOfString(item->title(), font).width) +
                                                (item->imageSize() ? item->imageSize()->width : 0.0));
        }
    }
    return {std::ceil(textWidth) + frame.leading + frame.trailing, frame.height};
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
    for (const kit::MenuItem* item : items) {
        QAction* action = menu.addAction(QString::fromStdString(item->title()));
        action->setEnabled(item->isEnabled());
        action->setCheckable(!button.pullsDown());
        action->setChecked(item == button.selectedItem());
    }
    QAction* chosen = menu.exec(QCursor::pos());
    const auto index = menu.actions().indexOf(chosen);
    return chosen && index >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(index)) : std::nullopt;
}

}  // namespace qthost
