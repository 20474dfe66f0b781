#include "tint/KRTintView.h"

#include <optional>

#include "kit/appkit/Window.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/quartz/Layer.h"
#include "kit/quartz/Path.h"
#include "tint/KRTintWindow.h"

namespace {

struct PillFlags {
    bool pills = false;
    bool detailed = false;
};

std::unique_ptr<PillFlags> readPillFlags() {
    const kit::UserDefaults& defaults = kit::UserDefaults::standard();
    const bool pills = defaults.boolForKey("Pills");
    return std::make_unique<PillFlags>(PillFlags{pills, pills && !defaults.boolForKey("Pills: Simple")});
}

// Read once per process, at start-up; changing the defaults takes effect at the next start.
const PillFlags& pillFlags() {
    static kit::ProcessLocal<PillFlags> flags(&readPillFlags);
    return flags.get();
}

constexpr double safeAreaThreshold = 10.0;
constexpr double pillSideMargin = 3.0;
constexpr double pillTopMargin = 3.0;
constexpr double simplePillRadius = 18.0;
// Lower left, lower right, upper right, upper left: round outer corners, tighter ones at the housing.
constexpr double leftPillRadii[4] = {18.0, 13.0, 5.0, 18.0};
constexpr double rightPillRadii[4] = {13.0, 18.0, 18.0, 5.0};

kit::Rect shrunkPill(const kit::Rect& area) {
    return kit::Rect(area.minX() + pillSideMargin, area.minY(), area.width() - 2.0 * pillSideMargin,
                     area.height() - pillTopMargin);
}

}  // namespace

void KRTintView::load() {
    pillFlags();
}

bool KRTintView::pillsEnabled() {
    return pillFlags().pills;
}
bool KRTintView::detailedPillsEnabled() {
    return pillFlags().detailed;
}

KRTintView::KRTintView(const kit::Rect& frame) : View(frame) {
    setWantsLayer(true);
    setLayerContentsRedrawPolicy(kit::LayerContentsRedrawPolicy::OnSetNeedsDisplay);
    auto container = kit::Layer::make();
    auto gradient = kit::GradientLayer::make();
    _animatedLayer = container.get();
    _gradientLayer = gradient.get();
    container->addSublayer(std::move(gradient));
    layer()->addSublayer(std::move(container));
}

std::unique_ptr<KRTintView> KRTintView::initWithFrame(const kit::Rect& frame) {
    pillFlags();  // the flags belong to the process, not to the first redraw
    return std::make_unique<KRTintView>(frame);
}

void KRTintView::updateLayer() {
    const kit::Rect bounds = layer()->bounds();
    _animatedLayer->setFrame(bounds);
    _gradientLayer->setMask(pillMask(bounds));
    _gradientLayer->setFrame(bounds);
    _gradientLayer->setColors(
        {KRTintWindow::bottomColor(), KRTintWindow::centerColor(), KRTintWindow::topColor()});
}

std::shared_ptr<kit::Layer> KRTintView::pillMask(const kit::Rect& bounds) const {
    if (!pillsEnabled() || !kit::SystemVersion::current().isAtLeast(12, 0) || !window()) {
        return nullptr;
    }
    const std::optional<kit::Screen> screen = window()->screen();
    if (!screen || !(screen->safeAreaInsets().top > safeAreaThreshold) ||
        kit::isEmptyRect(screen->auxiliaryTopLeftArea()) ||
        kit::isEmptyRect(screen->auxiliaryTopRightArea())) {
        return nullptr;
    }
    std::shared_ptr<kit::Path> path = kit::Path::createMutable();
    if (!path) {
        return nullptr;
    }
    const kit::Rect left = shrunkPill(
        convertRectFromView(window()->convertRectFromScreen(screen->auxiliaryTopLeftArea()), nullptr));
    const kit::Rect right = shrunkPill(
        convertRectFromView(window()->convertRectFromScreen(screen->auxiliaryTopRightArea()), nullptr));
    if (detailedPillsEnabled()) {
        addDetailedPill(*path, left, leftPillRadii);
        addDetailedPill(*path, right, rightPillRadii);
    } else {
        path->addRoundedRect(left, simplePillRadius, simplePillRadius);
        path->addRoundedRect(right, simplePillRadius, simplePillRadius);
    }
    auto mask = kit::ShapeLayer::make();
    mask->setFrame(bounds);
    mask->setPath(std::move(path));
    return mask;
}

void KRTintView::addDetailedPill(kit::Path& path, const kit::Rect& pill, const double radii[4]) {
    path.moveTo({pill.minX(), pill.midY()});
    path.addArcToPoint({pill.minX(), pill.minY()}, {pill.maxX(), pill.minY()}, radii[0]);
    path.addArcToPoint({pill.maxX(), pill.minY()}, {pill.maxX(), pill.maxY()}, radii[1]);
    path.addArcToPoint({pill.maxX(), pill.maxY()}, {pill.minX(), pill.maxY()}, radii[2]);
    path.addArcToPoint({pill.minX(), pill.maxY()}, {pill.minX(), pill.minY()}, radii[3]);
    path.closeSubpath();
}
