#pragma once

#include <memory>
#include <string>

#include "kit/core/Selector.h"
#include "kit/geometry/Geometry.h"

namespace kit {
class Button;
class Object;
class TitlebarAccessoryViewController;
class View;
class Window;
}  // namespace kit

// Small views at the right-hand end of a window's titlebar. Each view gets an entry of its own: a titlebar
// accessory controller whose view (the container) holds the view alone, with `padding` free to its right
// and above it. Nothing is kept here: the window's list of entries is the only record.

// Adds `view` in a new entry at the end of the window's list. A `size` narrower than 0.1 means the view is
// measured (a control takes its natural size); otherwise the view takes `size`. With
// `correctPaddingAutomatically` on system 11 or later, the space above the view centres it in a 30-point
// titlebar instead of `padding.height`. A null view changes nothing.
void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size size, kit::Size padding,
                     bool correctPaddingAutomatically);
void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size size, kit::Size padding);
void addTitlebarView(kit::Window& window, std::unique_ptr<kit::View> view, kit::Size padding);
// The same for a view that already lies in a superview: it leaves its entry (or that superview) and moves
// to a new entry at the end. A view without a superview has no owner here and is left alone.
void addTitlebarView(kit::Window& window, kit::View& placedView, kit::Size size, kit::Size padding,
                     bool correctPaddingAutomatically);

// A compact push button titled `title`, styled for the running system, added as an entry; the entry owns
// it.
kit::Button* addTitlebarButtonWithTitle(kit::Window& window, const std::string& title, kit::Selector action,
                                        kit::Object* target);

// The entry whose container is `view`'s superview (the very object), or nullptr.
kit::TitlebarAccessoryViewController* titlebarAccessoryViewControllerForView(const kit::Window& window,
                                                                             const kit::View* view);
// Takes `view`'s entry off the window; the view goes with it.
void removeTitlebarView(kit::Window& window, kit::View* view);
// Removes `*view`'s entry and clears the caller's pointer; nothing for a null address or pointer.
void removeAndDereferenceTitlebarView(kit::Window& window, kit::View** view);

// Whether the window's backing scale is above 1.5.
bool isOnRetinaDisplay(const kit::Window& window);

// The space above a view `height` points high that centres it in a 30-point titlebar, never negative.
double correctedTitlebarPaddingHeight(double height);
