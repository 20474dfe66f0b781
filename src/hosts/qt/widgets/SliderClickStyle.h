#pragma once

#include <QProxyStyle>

namespace qthost {

// The desktop's style, except that a click on a slider's track moves the knob to the click, as the
// platform's sliders do, instead of stepping a page towards it.
class SliderClickStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

}  // namespace qthost
