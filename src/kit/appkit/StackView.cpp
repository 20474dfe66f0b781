#include "kit/appkit/StackView.h"

namespace kit {

void StackView::layoutArrangedSubviews() {
    double top = frame().height();
    for (const auto& subview : subviews()) {
        const Rect old = subview->frame();
        top -= old.height();
        subview->setFrame(Rect((frame().width() - old.width()) / 2.0, top, old.width(), old.height()));
        top -= _spacing;
    }
}

}  // namespace kit
