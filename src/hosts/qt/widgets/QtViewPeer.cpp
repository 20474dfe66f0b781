#include "hosts/qt/widgets/QtViewPeer.h"

#include <cmath>

#include "hosts/qt/widgets/QtBoxPeer.h"
#include "hosts/qt/widgets/QtButtonPeer.h"
#include "hosts/qt/widgets/QtColorWellPeer.h"
#include "hosts/qt/widgets/QtFonts.h"
#include "hosts/qt/widgets/QtImageViewPeer.h"
#include "hosts/qt/widgets/QtPopUpButtonPeer.h"
#include "hosts/qt/widgets/QtSliderPeer.h"
#include "hosts/qt/widgets/QtTextFieldPeer.h"
#include "hosts/qt/widgets/QtTextViewPeer.h"
#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/ImageView.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/TextView.h"
#include "kit/appkit/Window.h"

namespace qthost {

std::unique_ptr<QtViewPeer> QtViewPeer::make(kit::View& view, QWidget& parent) {
    if (auto* popUp = dynamic_cast<kit::PopUpButton*>(&view)) {
        return std::make_unique<QtPopUpButtonPeer>(*popUp, parent);
    }
    if (auto* button = dynamic_cast<kit::Button*>(&view)) {
        return std::make_unique<QtButtonPeer>(*button, parent);
    }
    if (auto* slider = dynamic_cast<kit::Slider*>(&view)) {
        return std::make_unique<QtSliderPeer>(*slider, parent);
    }
    if (auto* well = dynamic_cast<kit::ColorWell*>(&view)) {
        return std::make_unique<QtColorWellPeer>(*well, parent);
    }
    if (auto* field = dynamic_cast<kit::TextField*>(&view)) {
        return std::make_unique<QtTextFieldPeer>(*field, parent);
    }
    if (auto* textView = dynamic_cast<kit::TextView*>(&view)) {
        return std::make_unique<QtTextViewPeer>(*textView, parent);
    }
    if (auto* imageView = dynamic_cast<kit::ImageView*>(&view)) {
        return std::make_unique<QtImageViewPeer>(*imageView, parent);
    }
    if (auto* box = dynamic_cast<kit::Box*>(&view)) {
        return std::make_unique<QtBoxPeer>(*box, parent);
    }
    // Plain views and tab views group their subviews; a tab view's unselected views are hidden ones.
    return std::unique_ptr<QtViewPeer>(new QtViewPeer(view, new QWidget(&parent)));
}

QtViewPeer::QtViewPeer(kit::View& view, QWidget* widget) : _view(view), _widget(widget) {}

QtViewPeer::~QtViewPeer() {
    // Connections first: a widget being deleted may still signal (a line edit losing focus).
    _receiver.reset();
    delete _widget.data();
}

bool QtViewPeer::presents(const kit::View&) const {
    return true;
}

void QtViewPeer::sync() {
    place();
    if (const auto* control = dynamic_cast<const kit::Control*>(&_view)) {
        _widget->setEnabled(control->isEnabled());
        const QFont font = qtFont(control->font());
        if (_widget->font() != font) {
            _widget->setFont(font);
        }
    }
    syncContent();
    _widget->setVisible(!_view.isHidden());
}

void QtViewPeer::place() {
    const kit::Rect frame = _view.frame();
    const kit::View* superview = _view.superview();
    double containerHeight = frame.height();
    if (superview) {
        containerHeight = superview->frame().height();
    } else if (const kit::Window* window = _view.window()) {
        containerHeight = window->frame().height();
    }
    const double top = superview && superview->isFlipped() ? frame.minY() : containerHeight - frame.maxY();
    // Rounding the edges rather than origin and size keeps adjoining views adjoining.
    const int left = static_cast<int>(std::lround(frame.minX()));
    const int right = static_cast<int>(std::lround(frame.maxX()));
    const int topEdge = static_cast<int>(std::lround(top));
    const int bottomEdge = static_cast<int>(std::lround(top + frame.height()));
    _widget->setGeometry(left, topEdge, right - left, bottomEdge - topEdge);
}

}  // namespace qthost
