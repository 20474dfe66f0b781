#include "hosts/qt/widgets/QtSliderPeer.h"

#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "hosts/qt/widgets/SliderClickStyle.h"

namespace qthost {

namespace {

QSlider* makeWidget(QWidget& parent) {
    auto* slider = new QSlider(&parent);
    auto* style = new SliderClickStyle;
    style->setParent(slider);
    slider->setStyle(style);
    slider->setRange(0, QtSliderPeer::steps);
    // Keys move by a hundredth, pages by a tenth of the range.
    slider->setSingleStep(QtSliderPeer::steps / 100);
    slider->setPageStep(QtSliderPeer::steps / 10);
    return slider;
}

}  // namespace

QtSliderPeer::QtSliderPeer(kit::Slider& slider, QWidget& parent)
    : QtViewPeer(slider, makeWidget(parent)), _slider(slider), _widget(static_cast<QSlider*>(&widget())) {
    QObject::connect(_widget, &QSlider::valueChanged, &receiver(), [this](int step) {
        _slider.moveKnob(value(step, _slider.minValue(), _slider.maxValue()));
    });
}

int QtSliderPeer::position(double value, double minimum, double maximum) {
    if (!(maximum > minimum)) {
        return 0;
    }
    return static_cast<int>(std::lround((value - minimum) / (maximum - minimum) * steps));
}

double QtSliderPeer::value(int position, double minimum, double maximum) {
    return minimum + (maximum - minimum) * position / steps;
}

void QtSliderPeer::syncContent() {
    const kit::Rect frame = _slider.frame();
    // Values set by the program send no action.
    const QSignalBlocker blocker(_widget);
    _widget->setOrientation(frame.width() >= frame.height() ? Qt::Horizontal : Qt::Vertical);
    _widget->setValue(position(_slider.doubleValue(), _slider.minValue(), _slider.maxValue()));
}

}  // namespace qthost
