#pragma once

#include <memory>

#include "kit/core/Object.h"

namespace kit {

class Image;
class TextAttachmentCell;

// What an attachment character of an attributed string stands for (NSTextAttachment): an image, drawn
// by a cell of its own when it has one. The attachment keeps its cell.
class TextAttachment : public Object {
public:
    TextAttachment() = default;

    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image) { _image = std::move(image); }
    TextAttachmentCell* attachmentCell() const { return _cell.get(); }
    void setAttachmentCell(std::shared_ptr<TextAttachmentCell> cell) { _cell = std::move(cell); }
    // The image shown: the cell's when there is a cell, else the attachment's own.
    std::shared_ptr<Image> shownImage() const;

private:
    std::shared_ptr<Image> _image;
    std::shared_ptr<TextAttachmentCell> _cell;
};

}  // namespace kit
