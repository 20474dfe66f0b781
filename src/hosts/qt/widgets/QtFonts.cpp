#include "hosts/qt/widgets/QtFonts.h"

#include <QFontDatabase>
#include <algorithm>
#include <cmath>
#include <iterator>

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

}  // namespace

QFont qtFont(const kit::Font& font) {
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont qfont = font.isSystemFont() ? desktop : QFont(QString::fromStdString(font.familyName()));
    if (font.pointSize() > 0.0) {
        const double scale = font.pointSize() / kit::Font::systemFontSize();
        // A desktop font may be given in pixels rather than points.
        if (desktop.pointSizeF() > 0.0) {
            qfont.setPointSizeF(desktop.pointSizeF() * scale);
        } else {
            qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(desktop.pixelSize() * scale))));
        }
    }
    qfont.setWeight(qtWeight(font.weight()));
    return qfont;
}

}  // namespace qthost
