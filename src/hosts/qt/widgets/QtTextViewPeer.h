#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"

class QTextBrowser;

namespace kit {
class TextView;
}

namespace qthost {

// Presents a text view as a read-only QTextBrowser. A click on an attachment goes to the kit text view,
// which tells its delegate; hovering one shows the attachment's tool tip.
class QtTextViewPeer final : public QtViewPeer {
public:
    QtTextViewPeer(kit::TextView& view, QWidget& parent);

private:
    void syncContent() override;
    void showToolTip(const QUrl& url);

    kit::TextView& _textView;
    QTextBrowser* _browser;
};

}  // namespace qthost
