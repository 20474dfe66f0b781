#include "kit/graphics/SystemImages.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "kit/graphics/Image.h"
#include "kit/graphics/Painting.h"

namespace kit {

namespace {

constexpr Size refreshGlyphSize{16.0, 16.0};

// A circular arrow turning clockwise: a ring open at the top, its head at the upper left pointing along
// the ring, in black (a template). Worked out in the context's points, y up.
void drawRefreshGlyph(const Rect& rect) {
    GraphicsContext* context = GraphicsContext::currentContext();
    if (!context) {
        return;
    }
    const double side = std::min(rect.width(), rect.height());
    const double line = side * 0.12;
    const double radius = side * 0.33;
    const double head = line * 1.5;
    const QPointF centre(rect.midX(), rect.midY());
    const auto onRing = [&](double degrees) {
        const double radians = degrees * std::numbers::pi / 180.0;
        return centre + radius * QPointF(std::cos(radians), std::sin(radians));
    };
    constexpr double startAngle = 70.0;
    constexpr double endAngle = startAngle - 300.0;  // clockwise, y up
    QPainterPath ring(onRing(startAngle));
    for (int step = 1; step <= 60; ++step) {
        ring.lineTo(onRing(startAngle + (endAngle - startAngle) * step / 60.0));
    }
    const double end = endAngle * std::numbers::pi / 180.0;
    const QPointF outward(std::cos(end), std::sin(end));
    const QPointF along(std::sin(end), -std::cos(end));  // the clockwise tangent
    const QPointF tip = onRing(endAngle);
    QPainterPath arrow(tip + along * head);
    arrow.lineTo(tip + outward * head);
    arrow.lineTo(tip - outward * head);
    arrow.closeSubpath();
    context->paint([&](GraphicsContext::Painting& painting) {
        QPainter& painter = painting.painter;
        painter.setPen(QPen(Qt::black, line, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(ring);
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
