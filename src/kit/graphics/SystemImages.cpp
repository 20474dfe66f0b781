#include "kit/graphics/SystemImages.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "kit/graphics/Image.h"
#include "kit/graphics/Painting.h"

namespace kit {

namespace {

constexpr Size refreshGlyphSize{16.0, 16.0};

// A circular arrow turning clockwise: an open ring with a head at its upper end, in black (a template).
void drawRefreshGlyph(const Rect& rect) {
    GraphicsContext* context = GraphicsContext::currentContext();
    if (!context) {
        return;
    }
    const double side = std::min(rect.width(), rect.height());
    const double line = side * 0.14;
    const double radius = side * 0.5 - line;
    const QPointF centre(rect.midX(), rect.midY());
    context->paint([&](GraphicsContext::Painting& painting) {
        QPainter& painter = painting.painter;
        QPen pen(Qt::black, line, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // Points are y-up here; Qt's angles run counter-clockwise in y-down terms, the transform flips them.
        QPainterPath ring;
        const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        ring.arcMoveTo(box, -60.0);
        ring.arcTo(box, -60.0, 300.0);
        painter.drawPath(ring);
        const double endAngle = 240.0 * std::numbers::pi / 180.0;
        const QPointF tip(centre.x() + radius * std::cos(endAngle), centre.y() - radius * std::sin(endAngle));
        const double head = line * 1.6;
        QPainterPath arrow;
        arrow.moveTo(tip + QPointF(-head, 0.0));
        arrow.lineTo(tip + QPointF(head, 0.0));
        arrow.lineTo(tip + QPointF(0.0, head * 1.2));
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(arrow);
    });
}

}  // namespace

std::shared_ptr<Image> systemImageNamed(const std::string& name) {
    if (name != Image::RefreshFreestandingTemplate) {
        return nullptr;
    }
    auto image = Image::imageWithSize(refreshGlyphSize, false, [](const Rect& rect) {
        drawRefreshGlyph(rect);
        return true;
    });
    image->setTemplate(true);
    return image;
}

}  // namespace kit
