#include "kit/appkit/ScrollView.h"

namespace kit {

ScrollView::ScrollView(const Rect& frame) : View(frame) {
    _clipView = addSubview(std::make_unique<View>(Rect(Point{}, frame.size)));
    _clipView->setAutoresizingMask(ViewWidthSizable | ViewHeightSizable);
}

View* ScrollView::documentView() const {
    return _clipView->subviews().empty() ? nullptr : _clipView->subviews().front().get();
}

void ScrollView::setDocumentView(std::unique_ptr<View> view) {
    if (View* old = documentView()) {
        old->removeFromSuperview();
    }
    if (view) {
        _clipView->addSubview(std::move(view));
    }
}

}  // namespace kit
