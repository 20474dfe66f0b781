#pragma once

#include "kit/appkit/View.h"

namespace kit {

// A view that shows part of a larger document view through its clip view (NSScrollView). The clip view
// (contentView) fills the scroll view and holds the document view.
class ScrollView : public View {
public:
    explicit ScrollView(const Rect& frame);

    View* contentView() const { return _clipView; }
    View* documentView() const;
    void setDocumentView(std::unique_ptr<View> view);

private:
    View* _clipView;
};

}  // namespace kit
