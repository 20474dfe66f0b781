#pragma once

#include <optional>
#include <vector>

namespace kit {
class TextView;
class View;
class Window;
}  // namespace kit

// How the About panel is found among the application's windows, and its credits inside it.

// The windows that may be the About panel, in the application's order: fixed-size windows of exactly the
// panel class (a subclass does not count) with a working close button, other than those in `excluding`.
// nullopt when there is none.
std::optional<std::vector<kit::Window*>> aboutPanelCandidatesExcluding(
    const std::vector<kit::Window*>* excluding);

// The credits text view: the first text view met depth first from `content` (each view before its
// subviews; a text view's own subviews are not searched), and whether a stack view was met on the way.
// Another text view is logged as "unexpected bonus text view".
struct CreditsTextView {
    kit::TextView* textView = nullptr;
    bool metStackView = false;

    static CreditsTextView find(kit::View& content);

private:
    void visit(kit::View& view);
};

// On a panel without a stack view: credits that fit their scroll view (one taller than 15 points) move onto
// the panel's content view in its place, and credits wider than its clip view take the clip view's width.
void fitCreditsToScrollView(kit::Window& panel, kit::TextView& textView);
