#pragma once

#include <QString>
#include <QUrl>
#include <optional>

class QTextDocument;

namespace kit {
class AttributedString;
}  // namespace kit

namespace qthost {

// Qt rich text for a kit attributed string: one paragraph per line with its alignment, one span per run
// with its font, colour and tool tip. With a `document`, each attachment shows its image (added to the
// document's resources) as a link to attachmentURL(index); without one, attachments are left out.
QString richText(const kit::AttributedString& text, QTextDocument* document);

QUrl attachmentURL(std::size_t index);
// The character index an attachment link stands for, or nullopt for any other address.
std::optional<std::size_t> attachmentIndex(const QUrl& url);

}  // namespace qthost
