#pragma once

#include <memory>

#include "kit/appkit/View.h"

namespace kit {
class GradientLayer;
class Layer;
class Path;
}  // namespace kit

// The tint window's content: a three-stop vertical gradient (bottom, center, top colour) drawn with
// layers, optionally limited to two pills beside a camera housing ("Pills", read once per process).
class KRTintView : public kit::View {
public:
    // nullptr when the view cannot be made.
    static std::unique_ptr<KRTintView> initWithFrame(const kit::Rect& frame);
    explicit KRTintView(const kit::Rect& frame);

    bool wantsUpdateLayer() const override { return true; }
    void updateLayer() override;

    // The class's start-up step: reads the two pill defaults, once per process, before the application
    // starts; later writes to them take effect at the next start.
    static void load();
    static bool pillsEnabled();
    static bool detailedPillsEnabled();

    kit::GradientLayer* gradientLayer() const { return _gradientLayer; }

private:
    std::shared_ptr<kit::Layer> pillMask(const kit::Rect& bounds) const;
    static void addDetailedPill(kit::Path& path, const kit::Rect& pill, const double radii[4]);

    kit::Layer* _animatedLayer = nullptr;          // held by the layer tree
    kit::GradientLayer* _gradientLayer = nullptr;  // held by the layer tree
};
