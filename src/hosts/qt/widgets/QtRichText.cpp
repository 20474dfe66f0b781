#include "hosts/qt/widgets/QtRichText.h"

#include <QTextDocument>
#include <vector>

#include "hosts/qt/widgets/QtColors.h"
#include "hosts/qt/widgets/QtFonts.h"
#include "hosts/qt/widgets/QtImages.h"
#include "kit/graphics/Image.h"
#include "kit/text/AttributedString.h"
#include "kit/text/TextAttachment.h"

namespace qthost {

namespace {

constexpr const char* attachmentScheme = "kit-attachment";

QString alignment(const kit::TextAttributes& attributes) {
    const kit::TextAlignment kind =
        attributes.paragraphStyle ? attributes.paragraphStyle->alignment : kit::TextAlignment::Natural;
    switch (kind) {
        case kit::TextAlignment::Center:
            return QStringLiteral("center");
        case kit::TextAlignment::Right:
            return QStringLiteral("right");
        case kit::TextAlignment::Justified:
            return QStringLiteral("justify");
        case kit::TextAlignment::Left:
        case kit::TextAlignment::Natural:
            break;
    }
    return QStringLiteral("left");
}

QString spanStyle(const kit::TextAttributes& attributes) {
    QString style;
    if (attributes.font) {
        const QFont font = qtFont(*attributes.font);
        style += QStringLiteral("font-size:%1pt;font-weight:%2;").arg(font.pointSizeF()).arg(font.weight());
    }
    if (attributes.foregroundColor) {
        style += QStringLiteral("color:%1;").arg(qtColor(*attributes.foregroundColor).name(QColor::HexArgb));
    }
    return style;
}

QString attachmentHTML(const kit::TextAttributes& attributes, std::size_t index, QTextDocument* document) {
    const std::shared_ptr<kit::Image> image = attributes.attachment->shownImage();
    if (!document || !image) {
        return {};
    }
    const QUrl url = attachmentURL(index);
    document->addResource(QTextDocument::ImageResource, url, qtImage(*image));
    return QStringLiteral("<a href=\"%1\"><img src=\"%1\" width=\"%2\" height=\"%3\"></a>")
        .arg(url.toString())
        .arg(image->size().width)
        .arg(image->size().height);
}

}  // namespace

QUrl attachmentURL(std::size_t index) {
    return QUrl(QStringLiteral("%1:%2").arg(attachmentScheme).arg(index));
}

std::optional<std::size_t> attachmentIndex(const QUrl& url) {
    bool ok = false;
    const qulonglong index = url.path().toULongLong(&ok);
    if (url.scheme() != attachmentScheme || !ok) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

QString richText(const kit::AttributedString& text, QTextDocument* document) {
    QString html;
    QString paragraph;
    bool paragraphOpen = false;
    auto closeParagraph = [&] {
        html += paragraph.isEmpty() ? QStringLiteral("&nbsp;") : paragraph;
        html += QStringLiteral("</p>");
        paragraph.clear();
        paragraphOpen = false;
    };
    for (const kit::AttributedString::Run& run : text.runs()) {
        std::size_t index = run.range.location;
        for (const QString& piece : QString::fromStdString(run.text).split(QLatin1Char('\n'))) {
            if (index > run.range.location) {
                closeParagraph();
            }
            if (!paragraphOpen) {
                html += QStringLiteral("<p align=\"%1\" style=\"margin:0\">").arg(alignment(run.attributes));
                paragraphOpen = true;
            }
            if (run.attributes.attachment) {
                for (qsizetype at = 0; at < piece.size(); ++at) {
                    paragraph +=
                        attachmentHTML(run.attributes, index + static_cast<std::size_t>(at), document);
                }
            } else if (!piece.isEmpty()) {
                const QString title =
                    run.attributes.toolTip
                        ? QStringLiteral(" title=\"%1\"")
                              .arg(QString::fromStdString(*run.attributes.toolTip).toHtmlEscaped())
                        : QString();
                paragraph += QStringLiteral("<span style=\"%1\"%2>%3</span>")
                                 .arg(spanStyle(run.attributes), title, piece.toHtmlEscaped());
            }
            index += static_cast<std::size_t>(piece.size()) + 1;
        }
    }
    if (paragraphOpen) {
        closeParagraph();
    }
    return html;
}

}  // namespace qthost
