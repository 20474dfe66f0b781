#include "kit/appkit/TitlebarAccessoryViewController.h"

#include "kit/appkit/Window.h"

namespace kit {

void TitlebarAccessoryViewController::removeFromParentViewController() {
    if (_parentWindow) {
        _parentWindow->removeTitlebarAccessoryViewController(*this);
    }
}

}  // namespace kit
