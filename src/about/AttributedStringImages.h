#pragma once

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "kit/text/AttributedString.h"

namespace kit {
class Image;
class TextAttachment;
}  // namespace kit

// Images as attachment characters of attributed strings.

// An attachment showing `image`: through a KRContextTextAttachmentCell carrying `context` when
// `useAttachmentCell`, else as the attachment's own image (the context is then unused). nullptr without an
// image.
std::shared_ptr<kit::TextAttachment> attachmentWithImage(std::shared_ptr<kit::Image> image,
                                                         bool useAttachmentCell, std::any context);
// One attachment character for `image`, raised by `offset` points when it is more than 0.1 either way;
// nullopt without an image.
std::optional<kit::AttributedString> attributedStringWithImage(std::shared_ptr<kit::Image> image,
                                                               double offset, bool useAttachmentCell,
                                                               std::any context);
// Appends the image's character, raised by `offset` as above; its range, or (NotFound, 0) when nothing
// was appended.
kit::TextRange appendImage(kit::AttributedString& string, std::shared_ptr<kit::Image> image, double offset,
                           bool useAttachmentCell, std::any context);
// The same without a cell or context, the offset in whole points; whether anything was appended.
bool appendImage(kit::AttributedString& string, std::shared_ptr<kit::Image> image, std::int64_t offset);
// Appends `text` without attributes; false, appending nothing, for an empty text.
bool appendString(kit::AttributedString& string, const std::string& text);
