#include "about/AboutPanelSearch.h"

#include <algorithm>
#include <typeinfo>

#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Panel.h"
#include "kit/appkit/ScrollView.h"
#include "kit/appkit/StackView.h"
#include "kit/appkit/TextView.h"
#include "kit/foundation/Log.h"

namespace {

constexpr double scrollViewHeightAbove = 15.0;
constexpr double fitTolerance = 0.1;

bool isCandidate(kit::Window& window) {
    kit::Button* close = window.standardWindowButton(kit::WindowButton::Close);
    return !window.isResizable() && close && close->isEnabled() && typeid(window) == typeid(kit::Panel);
}

}  // namespace

std::optional<std::vector<kit::Window*>> aboutPanelCandidatesExcluding(
    const std::vector<kit::Window*>* excluding) {
    std::optional<std::vector<kit::Window*>> candidates;
    for (kit::Window* window : kit::Application::shared().windows()) {
        const bool excluded =
            excluding && std::find(excluding->begin(), excluding->end(), window) != excluding->end();
        if (excluded || !isCandidate(*window)) {
            continue;
        }
        if (!candidates) {
            candidates.emplace();
        }
        candidates->push_back(window);
    }
    return candidates;
}

CreditsTextView CreditsTextView::find(kit::View& content) {
    CreditsTextView search;
    search.visit(content);
    return search;
}

void CreditsTextView::visit(kit::View& view) {
    if (auto* found = dynamic_cast<kit::TextView*>(&view)) {
        if (textView) {
            kit::log("unexpected bonus text view");
        } else {
            textView = found;
        }
        return;
    }
    if (dynamic_cast<kit::StackView*>(&view)) {
        metStackView = true;
    }
    for (const auto& subview : view.subviews()) {
        visit(*subview);
    }
}

void fitCreditsToScrollView(kit::Window& panel, kit::TextView& textView) {
    kit::ScrollView* scrollView = textView.enclosingScrollView();
    if (!scrollView || scrollView->frame().height() <= scrollViewHeightAbove) {
        return;
    }
    const kit::Rect text = textView.frame();
    if (text.height() < scrollView->frame().height() + fitTolerance) {
        std::unique_ptr<kit::View> moved = textView.removeFromSuperview();
        moved->setFrame(scrollView->frame());
        panel.contentView()->addSubview(std::move(moved));
        scrollView->setHidden(true);
        return;
    }
    const double clipWidth = scrollView->contentView()->frame().width();
    if (text.width() > clipWidth + fitTolerance) {
        textView.setFrame(kit::Rect(0, text.minY(), clipWidth, text.height()));
    }
}
