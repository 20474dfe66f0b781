#include "kit/text/TextAttachment.h"

#include "kit/text/TextAttachmentCell.h"

namespace kit {

std::shared_ptr<Image> TextAttachment::shownImage() const {
    return _cell ? _cell->image() : _image;
}

}  // namespace kit
