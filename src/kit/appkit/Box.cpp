#include "kit/appkit/Box.h"

#include <memory>

namespace kit {

Box::Box(const Rect& frame) : View(frame) {
    auto content = std::make_unique<View>(bounds());
    content->setAutoresizingMask(ViewWidthSizable | ViewHeightSizable);
    _contentView = addSubview(std::move(content));
}

}  // namespace kit
