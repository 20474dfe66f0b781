#include "toolkit/KRSizeViewToFit.h"

#include <cmath>
#include <optional>
#include <unordered_set>

#include "kit/appkit/Control.h"
#include "kit/appkit/Screen.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

namespace {

// Changes of a tenth of a point or less are measuring noise, not a new size.
constexpr double threshold = 0.1;

enum class Anchor { Left, Right, Centre };

// Which edge stays put: the one whose margin is fixed. Both or neither fixed: the centre.
Anchor anchorFor(kit::AutoresizingMask mask) {
    switch (mask & (kit::ViewMinXMargin | kit::ViewMaxXMargin)) {
        case kit::ViewMaxXMargin:
            return Anchor::Left;
        case kit::ViewMinXMargin:
            return Anchor::Right;
        default:
            return Anchor::Centre;
    }
}

// Below 1.5 the first screen is not Retina and positions snap to whole points. With no screen at all the
// non-Retina rules hold, as they would for a screen whose scale reads 0.
bool hasRetinaScreen() {
    const std::optional<kit::Screen> first = kit::Screen::primary();
    return first && first->backingScaleFactor() >= 1.5;
}

// Centres the control vertically on where it was. Small controls on non-Retina screens sit a point lower
// to line up with their neighbours' baselines.
void recentreVertically(kit::Control& control, const kit::Rect& old, kit::Rect& frame, bool retina) {
    const double dh = old.height() - frame.height();
    if (std::abs(dh) <= threshold) {
        return;
    }
    frame.origin.y = std::floor(frame.minY() + dh * 0.5);
    if (!retina && control.controlSize() == kit::ControlSize::Small) {
        frame.origin.y -= 1.0;
    }
    control.setFrame(frame);
}

// Moves the views of the chain after `control` away from its fixed edge, each by the control's change in
// width `d`. The walk stops after a view that is no chain member, at a view already moved, and at the
// first stretchable view, which takes the change into its width and keeps its far edge.
void walkChain(kit::View& control, double d, Anchor anchor) {
    const double shift = anchor == Anchor::Left ? -d : d;
    std::unordered_set<const kit::View*> visited{&control};
    for (kit::View* current = &control;;) {
        const auto* member = dynamic_cast<const KRSizeToFitViewProtocol*>(current);
        kit::View* next = member ? member->nextSizeToFitView() : nullptr;
        if (!next || !visited.insert(next).second) {
            return;
        }
        kit::Rect frame = next->frame();
        if (next->autoresizingMask() & kit::ViewWidthSizable) {
            frame.size.width += d;
            if (anchor == Anchor::Left) {
                frame.origin.x += shift;
            }
            next->setFrame(frame);
            return;
        }
        frame.origin.x += shift;
        next->setFrame(frame);
        current = next;
    }
}

}  // namespace

void KRSizeViewToFit(kit::View& view) {
    auto* control = dynamic_cast<kit::Control*>(&view);
    const kit::AutoresizingMask mask = view.autoresizingMask();
    if (!control || (mask & kit::ViewWidthSizable)) {
        return;
    }
    const bool retina = hasRetinaScreen();
    const kit::Rect old = view.frame();
    control->sizeToFit();
    kit::Rect frame = view.frame();
    recentreVertically(*control, old, frame, retina);

    double d = old.width() - frame.width();
    if (std::abs(d) <= threshold) {
        return;
    }
    const Anchor anchor = anchorFor(mask);
    if (anchor == Anchor::Centre) {
        frame.origin.x = old.minX() + std::round(d * 0.5);
        view.setFrame(frame);
        return;
    }
    if (anchor == Anchor::Right) {
        frame.origin.x = old.minX() + d;
        view.setFrame(frame);
    }
    if (!retina) {
        d = std::round(d);
        if (std::abs(d) < threshold) {
            return;
        }
    }
    walkChain(view, d, anchor);
}
