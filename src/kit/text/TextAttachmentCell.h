#pragma once

#include <memory>

#include "kit/core/Object.h"

namespace kit {

class Image;

// The cell that draws an attachment and hears clicks on it (NSTextAttachmentCell).
class TextAttachmentCell : public Object {
public:
    // initImageCell:
    explicit TextAttachmentCell(std::shared_ptr<Image> image) : _image(std::move(image)) {}

    const std::shared_ptr<Image>& image() const { return _image; }

private:
    std::shared_ptr<Image> _image;
};

}  // namespace kit
