#pragma once

#include <cstddef>

#include "kit/appkit/View.h"
#include "kit/text/AttributedString.h"

namespace kit {

class TextAttachmentCell;
class TextView;

// What a text view tells its delegate; every callback has a default, as the platform's are optional.
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    // The user clicked the attachment cell drawn at `cellFrame` for the character at `charIndex`.
    virtual void textViewClickedOnCell(TextView& /*textView*/, TextAttachmentCell& /*cell*/,
                                       const Rect& /*cellFrame*/, std::size_t /*charIndex*/) {}
};

// A view of rich text, read-only here (NSTextView). The delegate is borrowed.
class TextView : public View {
public:
    using View::View;

    const AttributedString& textStorage() const { return _text; }
    void setAttributedString(AttributedString text) {
        _text = std::move(text);
        shownStateDidChange();
    }
    TextViewDelegate* delegate() const { return _delegate; }
    void setDelegate(TextViewDelegate* delegate) { _delegate = delegate; }

    // The user clicked the attachment at `charIndex`: its cell, if it has one, goes to the delegate.
    void clickedOnAttachment(std::size_t charIndex, const Rect& cellFrame);

private:
    AttributedString _text;
    TextViewDelegate* _delegate = nullptr;
};

}  // namespace kit
