#include <cmath>

#include "kit/foundation/SystemVersion.h"
#include "kit/graphics/GraphicsContext.h"
#include "kit/graphics/Image.h"
#include "update/KRSparkleWrapper.h"

namespace {

constexpr double smallIconLimit = 17.0;
constexpr double diskInset = 2.0;

struct DiskIcon {
    std::string glyphName;
    double inset;
    kit::Color highlight;
    std::optional<kit::Color> border;
    kit::Color background;
};

double marginFor(double side) {
    return side < smallIconLimit ? 1.0 : std::floor(0.08 * side);
}

double borderWidthFor(double side) {
    return side < smallIconLimit ? 2.0 : 4.0;
}

kit::Shadow glyphShadow() {
    return {{0.0, 0.0}, 1.0, kit::Color::calibratedWhite(0.0, 0.7)};
}

// The glyph, coloured, edged and shaded inside its own group, so that the group casts one shadow over the
// disk beneath it.
void drawColouredGlyph(kit::GraphicsContext& context, const DiskIcon& icon, const kit::Rect& rect,
                       const kit::Rect& circle, double side) {
    context.saveGState();
    context.setBlendMode(kit::BlendMode::Normal);
    context.beginTransparencyLayer(rect);
    context.clearRect(rect);
    if (const auto glyph = kit::Image::imageNamed(icon.glyphName)) {
        glyph->drawInRect(kit::insetRect(circle, icon.inset, icon.inset), {},
                          kit::CompositingOperation::SourceOver, 1.0);
    }
    context.setColor(icon.background);
    context.fillRect(circle, kit::CompositingOperation::SourceIn);
    if (icon.border) {
        context.setBlendMode(kit::BlendMode::SourceIn);
        context.setColor(*icon.border);
        context.strokeOval(circle, borderWidthFor(side));
    }
    context.setBlendMode(kit::BlendMode::SourceAtop);
    context.drawLinearGradient(circle, kit::Color::calibratedWhite(0.0, 0.0),
                               kit::Color::calibratedWhite(0.0, 0.1), 270.0);
    context.endTransparencyLayer();
    context.restoreGState();
}

bool drawDiskIcon(const DiskIcon& icon, const kit::Rect& rect) {
    kit::GraphicsContext* context = kit::GraphicsContext::currentContext();
    if (!context) {
        return true;
    }
    kit::GraphicsContext::saveGraphicsState();
    const double side = rect.height();
    const double margin = marginFor(side);
    const kit::Rect circle = kit::insetRect(rect, margin, margin);
    context->setColor(icon.highlight);
    context->fillOval(kit::insetRect(circle, diskInset, diskInset));
    context->setShadow(glyphShadow());
    drawColouredGlyph(*context, icon, rect, circle, side);
    kit::GraphicsContext::restoreGraphicsState();
    return true;
}

// The refresh glyph is drawn smaller inside its box on newer systems; enlarging the box evens that out.
double updateIconInset(double side) {
    const kit::SystemVersion version = kit::SystemVersion::current();
    if (side <= 16.0 || !version.isAtLeast(11)) {
        return 0.0;
    }
    return version.isAtLeast(13) ? -1.0 : -2.0;
}

}  // namespace

std::shared_ptr<kit::Image> KRSparkleWrapper::diskIconNamed(const std::string& name, double size,
                                                            double inset,
                                                            std::optional<kit::Color> highlightColor,
                                                            std::optional<kit::Color> borderColor,
                                                            std::optional<kit::Color> backgroundColor) {
    DiskIcon icon{name, inset, highlightColor.value_or(kit::Color::calibratedRGB(0.2, 0.4, 1.0, 1.0)),
                  borderColor, backgroundColor.value_or(kit::Color::calibratedWhite(1.0, 1.0))};
    return kit::Image::imageWithSize({size, size}, false,
                                     [icon](const kit::Rect& rect) { return drawDiskIcon(icon, rect); });
}

std::shared_ptr<kit::Image> KRSparkleWrapper::updateIconWithSize(double size) {
    return diskIconNamed(kit::Image::RefreshFreestandingTemplate, size, updateIconInset(size), std::nullopt,
                         std::nullopt, std::nullopt);
}
