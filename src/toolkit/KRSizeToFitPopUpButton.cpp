#include "toolkit/KRSizeToFitPopUpButton.h"

#include <algorithm>

#include "kit/foundation/SystemVersion.h"
#include "toolkit/KRSizeViewToFit.h"

namespace {

// The natural size leaves this much more room around the widest title than a fitted button needs.
double chromeMargin() {
    return kit::SystemVersion::current().isAtLeast(26, 0) ? 10.0 : 20.0;
}

constexpr double minimumFittedWidth = 20.0;

}  // namespace

void KRSizeToFitPopUpButton::awakeFromNib() {
    KRSizeToFitStaticPopUpButton::awakeFromNib();
    KRSizeViewToFit(*this);
}

double KRSizeToFitPopUpButton::itemWidth(const kit::MenuItem& item) const {
    const auto titleSize = item.attributedTitleSize();
    const double titleWidth = titleSize ? titleSize->width : kit::sizeWithFont(item.title(), font()).width;
    const auto imageSize = item.imageSize();
    return titleWidth + (imageSize ? imageSize->width : 0.0);
}

void KRSizeToFitPopUpButton::sizeToFit() {
    const kit::MenuItem* selected = selectedItem();
    double widest = 1.0;
    double selectedWidth = 1.0;
    for (const kit::MenuItem* item : itemArray()) {
        const double width = itemWidth(*item);
        if (item == selected) {
            selectedWidth = width;
        }
        widest = std::max(widest, width);
    }
    const double width = cellSize().width - widest + selectedWidth - chromeMargin();
    if (width < minimumFittedWidth) {
        KRSizeToFitStaticPopUpButton::sizeToFit();
        return;
    }
    kit::Rect fitted = frame();
    fitted.size.width = width;
    setFrame(fitted);
}

void KRSizeToFitPopUpButton::selectItemAtIndex(long index) {
    KRSizeToFitStaticPopUpButton::selectItemAtIndex(index);
    KRSizeViewToFit(*this);
}

bool KRSizeToFitPopUpButton::selectItemWithTag(long tag) {
    const bool selected = KRSizeToFitStaticPopUpButton::selectItemWithTag(tag);
    KRSizeViewToFit(*this);
    return selected;
}

void KRSizeToFitPopUpButton::mouseDown(const kit::Event& event) {
    const long previous = indexOfSelectedItem();
    KRSizeToFitStaticPopUpButton::mouseDown(event);
    const kit::MenuItem* chosen = selectedItem();
    if (previous >= 0 && chosen && chosen->view() && chosen->tag() < 0) {
        selectItem(nullptr);
        selectItemAtIndex(previous);
        return;
    }
    if (!pullsDown()) {
        KRSizeViewToFit(*this);
    }
}
