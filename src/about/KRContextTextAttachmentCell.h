#pragma once

#include <any>
#include <memory>

#include "kit/text/TextAttachmentCell.h"

// An attachment cell that carries a context of any kind for whoever hears its clicks; the About panel
// keeps the address a click opens there.
class KRContextTextAttachmentCell : public kit::TextAttachmentCell {
public:
    using kit::TextAttachmentCell::TextAttachmentCell;

    const std::any& textAttachmentContext() const { return _textAttachmentContext; }
    void setTextAttachmentContext(std::any context) { _textAttachmentContext = std::move(context); }

private:
    std::any _textAttachmentContext;
};
