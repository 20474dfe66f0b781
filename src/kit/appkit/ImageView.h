#pragma once

#include <memory>

#include "kit/appkit/View.h"
#include "kit/graphics/Image.h"

namespace kit {

// A view that shows one image, scaled down to fit when it is larger (NSImageView).
class ImageView : public View {
public:
    using View::View;

    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image) {
        _image = std::move(image);
        shownStateDidChange();
    }

private:
    std::shared_ptr<Image> _image;
};

}  // namespace kit
