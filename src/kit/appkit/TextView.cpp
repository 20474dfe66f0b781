#include "kit/appkit/TextView.h"

#include "kit/text/TextAttachment.h"

namespace kit {

void TextView::clickedOnAttachment(std::size_t charIndex, const Rect& cellFrame) {
    if (charIndex >= _text.length() || !_delegate) {
        return;
    }
    const auto& attachment = _text.attributesAtIndex(charIndex).attachment;
    if (attachment && attachment->attachmentCell()) {
        _delegate->textViewClickedOnCell(*this, *attachment->attachmentCell(), cellFrame, charIndex);
    }
}

}  // namespace kit
