#pragma once

#include "kit/appkit/View.h"

namespace kit {

// A view that arranges its subviews in a column (NSStackView): each keeps its height and is centred
// across; the column is laid out from the top, `spacing` apart.
class StackView : public View {
public:
    using View::View;

    double spacing() const { return _spacing; }
    void setSpacing(double spacing) { _spacing = spacing; }
    // Places the subviews from the top down.
    void layoutArrangedSubviews();

private:
    double _spacing = 8.0;
};

}  // namespace kit
