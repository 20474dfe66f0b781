#include "kit/appkit/StatusItem.h"

#include "kit/appkit/ApplicationPort.h"
#include "kit/appkit/Menu.h"
#include "kit/appkit/StatusItemPeer.h"
#include "kit/appkit/Window.h"
#include "kit/core/Host.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/graphics/Image.h"

namespace kit {

namespace {

constexpr double statusBarThickness = 22.0;

}  // namespace

StatusItem::StatusItem(double length)
    : _length(length), _peer(host().applicationPort().createStatusItemPeer(*this)) {}

StatusItem::~StatusItem() = default;

void StatusItem::setImage(std::shared_ptr<Image> image) {
    _image = std::move(image);
    changed();
}

void StatusItem::setAlternateImage(std::shared_ptr<Image> image) {
    _alternateImage = std::move(image);
    changed();
}

void StatusItem::setHighlightMode(bool highlights) {
    _highlightMode = highlights;
    changed();
}

void StatusItem::setMenu(std::shared_ptr<Menu> menu) {
    _menu = std::move(menu);
    changed();
}

bool StatusItem::respondsToAutosaveName() const {
    return SystemVersion::current().isAtLeast(10, 13);
}

bool StatusItem::respondsToButton() const {
    return SystemVersion::current().isAtLeast(10, 10);
}

Window* StatusItem::buttonWindow() {
    return respondsToButton() ? itemWindow() : nullptr;
}

Window* StatusItem::itemWindow() {
    if (!_window) {
        _window = std::make_unique<Window>(Rect{{0.0, 0.0}, {_length, statusBarThickness}},
                                           WindowStyleMaskBorderless, BackingStoreType::Buffered, true);
    }
    return _window.get();
}

void StatusItem::changed() {
    if (_peer) {
        _peer->statusItemDidChange(*this);
    }
}

}  // namespace kit
