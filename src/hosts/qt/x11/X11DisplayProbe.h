#pragma once

namespace qthost {

// Whether the X display named by $DISPLAY answers; Qt aborts the process when it does not.
bool x11DisplayAnswers();

}  // namespace qthost
