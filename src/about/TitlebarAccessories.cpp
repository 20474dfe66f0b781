#include "about/TitlebarAccessories.h"

#include <algorithm>
#include <cmath>

#include "about/TitlebarButtonStyle.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/TitlebarAccessoryViewController.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/SystemVersion.h"

namespace {

constexpr double titlebarHeight = 30.0;
constexpr double measuredBelowWidth = 0.1;
constexpr double retinaScaleAbove = 1.5;

// Settles the view's size: measured, or the given size.
kit::Size settleSize(kit::View& view, kit::Size size) {
    if (size.width >= measuredBelowWidth) {
        view.setFrame(kit::Rect(kit::Point{}, size));
        return size;
    }
    if (auto* control = dynamic_cast<kit::Control*>(&view)) {
        control->sizeToFit();
    }
    const kit::Rect measured = view.frame();
    if (measured.origin != kit::Point{}) {
        view.setFrame(kit::Rect(kit::Point{}, measured.size));
    }
    return measured.size;
}

void addDetachedView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size size, kit::Size padding,
                     bool correct) {
    const kit::Size settled = settleSize(*view, size);
    if (correct && kit::SystemVersion::current().isAtLeast(11)) {
        padding.height = correctedTitlebarPaddingHeight(settled.height);
    }
    auto container = std::make_unique<kit::View>(
        kit::Rect(0, 0, settled.width + padding.width, settled.height + padding.height));
    container->addSubview(std::move(view));
    auto controller = std::make_shared<kit::TitlebarAccessoryViewController>();
    controller->setView(std::move(container));
    controller->setLayoutAttribute(kit::LayoutAttribute::Right);
    window.addTitlebarAccessoryViewController(std::move(controller));
}

}  // namespace

double correctedTitlebarPaddingHeight(double height) {
    return std::max(0.0, std::floor((titlebarHeight - height) * 0.5));
}

void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size size, kit::Size padding,
                     bool correctPaddingAutomatically) {
    if (!view) {
        return;
    }
    // Keeps its distance to the container's right and top edges when the container is resized.
    view->setAutoresizingMask(kit::ViewMinXMargin | kit::ViewMinYMargin);
    addDetachedView(window, std::move(view), size, padding, correctPaddingAutomatically);
}

void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size size,
                     kit::Size padding) {
    addTitlebarView(window, std::move(view), size, padding, true);
}

void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size padding) {
    addTitlebarView(window, std::move(view), kit::Size{}, padding, true);
}

void addTitlebarView(kit::Window& window, kit::View& placedView, kit::Size size, kit::Size padding,
                     bool correctPaddingAutomatically) {
    kit::View* container = placedView.superview();
    if (!container) {
        return;
    }
    // Detached before its entry goes, which would take the view with it.
    kit::TitlebarAccessoryViewController* oldEntry =
        titlebarAccessoryViewControllerForView(window, &placedView);
    std::unique_ptr<kit::View> view = placedView.removeFromSuperviewWithoutNeedingDisplay();
    if (oldEntry) {
        oldEntry->removeFromParentViewController();
    }
    addTitlebarView(window, std::move(view), size, padding, correctPaddingAutomatically);
}

kit::Button* addTitlebarButtonWithTitle(kit::Window& window, const std::string& title, kit::Selector action,
                                        kit::Object* target) {
    const TitlebarButtonStyle style = TitlebarButtonStyle::forSystem(kit::SystemVersion::current());
    auto button = std::make_unique<kit::Button>(kit::Rect());
    button->setAction(action);
    button->setTarget(target);
    button->setBezelStyle(style.bezelStyle);
    if (style.borderShape) {
        button->setBorderShape(*style.borderShape);
    }
    button->setControlSize(style.controlSize);
    button->setFont(kit::Font::systemFontOfSize(style.fontSize));
    button->setImagePosition(kit::ImagePosition::NoImage);
    button->setTitle(title);
    kit::Button* added = button.get();
    addTitlebarView(window, std::move(button), kit::Size{}, style.padding, style.correctPaddingAutomatically);
    return added;
}

kit::TitlebarAccessoryViewController* titlebarAccessoryViewControllerForView(const kit::Window& window,
                                                                             const kit::View* view) {
    const kit::View* container = view ? view->superview() : nullptr;
    if (!container) {
        return nullptr;
    }
    for (const auto& entry : window.titlebarAccessoryViewControllers()) {
        if (entry->view() == container) {
            return entry.get();
        }
    }
    return nullptr;
}

void removeTitlebarView(kit::Window& window, kit::View* view) {
    if (kit::TitlebarAccessoryViewController* entry = titlebarAccessoryViewControllerForView(window, view)) {
        entry->removeFromParentViewController();
    }
}

void removeAndDereferenceTitlebarView(kit::Window& window, kit::View** view) {
    if (view && *view) {
        removeTitlebarView(window, *view);
        *view = nullptr;
    }
}

bool isOnRetinaDisplay(const kit::Window& window) {
    return window.backingScaleFactor() > retinaScaleAbove;
}
