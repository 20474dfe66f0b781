#pragma once

#include "hosts/qt/widgets/QtViewPeer.h"

class QLabel;

namespace kit {
class ImageView;
}

namespace qthost {

// Presents an image view as a label showing the image, scaled down to fit.
class QtImageViewPeer final : public QtViewPeer {
public:
    QtImageViewPeer(kit::ImageView& view, QWidget& parent);

private:
    void syncContent() override;

    kit::ImageView& _imageView;
    QLabel* _label;
};

}  // namespace qthost
