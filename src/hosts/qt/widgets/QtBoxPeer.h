#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/Box.h"

class QGroupBox;

namespace qthost {

// A box as a group box with its title; the box's content view is presented inside it.
class QtBoxPeer final : public QtViewPeer {
public:
    QtBoxPeer(kit::Box& box, QWidget& parent);

private:
    void syncContent() override;

    kit::Box& _box;
    QGroupBox* _widget;
};

}  // namespace qthost
