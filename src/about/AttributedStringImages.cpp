#include "about/AttributedStringImages.h"

#include <cmath>

#include "about/KRContextTextAttachmentCell.h"
#include "kit/text/TextAttachment.h"

namespace {

constexpr double baselineOffsetAbove = 0.1;

kit::TextAttributes raisedBy(double offset) {
    kit::TextAttributes attributes;
    attributes.baselineOffset = offset;
    return attributes;
}

}  // namespace

std::shared_ptr<kit::TextAttachment> attachmentWithImage(std::shared_ptr<kit::Image> image,
                                                         bool useAttachmentCell, std::any context) {
    if (!image) {
        return nullptr;
    }
    auto attachment = std::make_shared<kit::TextAttachment>();
    if (useAttachmentCell) {
        auto cell = std::make_shared<KRContextTextAttachmentCell>(std::move(image));
        cell->setTextAttachmentContext(std::move(context));
        attachment->setAttachmentCell(std::move(cell));
    } else {
        attachment->setImage(std::move(image));
    }
    return attachment;
}

std::optional<kit::AttributedString> attributedStringWithImage(std::shared_ptr<kit::Image> image,
                                                               double offset, bool useAttachmentCell,
                                                               std::any context) {
    std::shared_ptr<kit::TextAttachment> attachment =
        attachmentWithImage(std::move(image), useAttachmentCell, std::move(context));
    if (!attachment) {
        return std::nullopt;
    }
    kit::AttributedString piece = kit::AttributedString::withAttachment(std::move(attachment));
    if (std::abs(offset) > baselineOffsetAbove) {
        piece.addAttributes(raisedBy(offset), kit::TextRange{0, piece.length()});
    }
    return piece;
}

kit::TextRange appendImage(kit::AttributedString& string, std::shared_ptr<kit::Image> image, double offset,
                           bool useAttachmentCell, std::any context) {
    const std::optional<kit::AttributedString> piece =
        attributedStringWithImage(std::move(image), 0.0, useAttachmentCell, std::move(context));
    if (!piece || piece->length() == 0) {
        return kit::TextRange{kit::NotFound, 0};
    }
    string.append(*piece);
    const kit::TextRange range{string.length() - piece->length(), piece->length()};
    if (std::abs(offset) > baselineOffsetAbove) {
        string.addAttributes(raisedBy(offset), range);
    }
    return range;
}

bool appendImage(kit::AttributedString& string, std::shared_ptr<kit::Image> image, std::int64_t offset) {
    return appendImage(string, std::move(image), static_cast<double>(offset), false, std::any()).location !=
           kit::NotFound;
}

bool appendString(kit::AttributedString& string, const std::string& text) {
    if (text.empty()) {
        return false;
    }
    string.append(kit::AttributedString(text));
    return true;
}
