#pragma once

namespace kit {
class View;
}

// Fits a control to its content and keeps its row in order: the control keeps its fixed edge (its
// autoresizing mask says which) and the views of its size-to-fit chain move by the change in width, up to
// and including the first that stretches, which absorbs it. A stretchable control, or a view that is no
// control, is left alone.
void KRSizeViewToFit(kit::View& view);
