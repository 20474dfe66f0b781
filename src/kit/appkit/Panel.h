#pragma once

#include "kit/appkit/Window.h"

namespace kit {

// A window that serves another (NSPanel), such as the standard About panel.
class Panel : public Window {
public:
    using Window::Window;
};

}  // namespace kit
