#include "hosts/qt/widgets/QtTextViewPeer.h"

#include <QCursor>
#include <QTextBrowser>
#include <QToolTip>

#include "hosts/qt/widgets/QtRichText.h"
#include "kit/appkit/TextView.h"

namespace qthost {

QtTextViewPeer::QtTextViewPeer(kit::TextView& view, QWidget& parent)
    : QtViewPeer(view, new QTextBrowser(&parent)),
      _textView(view),
      _browser(static_cast<QTextBrowser*>(&widget())) {
    _browser->setOpenLinks(false);
    _browser->setFrameShape(QFrame::NoFrame);
    // The kit's scroll view scrolls; a scroll bar of the browser's own would narrow the text the kit
    // measured.
    _browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _browser->setObjectName(QStringLiteral("credits"));
    _browser->viewport()->setAutoFillBackground(false);
    _browser->document()->setDocumentMargin(0);
    QObject::connect(_browser, &QTextBrowser::anchorClicked, &receiver(), [this](const QUrl& url) {
        if (const std::optional<std::size_t> index = attachmentIndex(url)) {
            _textView.clickedOnAttachment(*index, kit::Rect());
        }
    });
    QObject::connect(_browser, qOverload<const QUrl&>(&QTextBrowser::highlighted), &receiver(),
                     [this](const QUrl& url) { showToolTip(url); });
}

void QtTextViewPeer::syncContent() {
    _browser->document()->clear();
    _browser->setHtml(richText(_textView.textStorage(), _browser->document()));
}

void QtTextViewPeer::showToolTip(const QUrl& url) {
    const std::optional<std::size_t> index = attachmentIndex(url);
    if (!index || *index >= _textView.textStorage().length()) {
        QToolTip::hideText();
        return;
    }
    const auto& toolTip = _textView.textStorage().attributesAtIndex(*index).toolTip;
    if (toolTip) {
        QToolTip::showText(QCursor::pos(), QString::fromStdString(*toolTip), _browser);
    }
}

}  // namespace qthost
