#pragma once

#include <memory>

namespace kit {
class Image;
}

// A grey copy of `image` (NSImage grayScaleImage): the same size in points and the same transparency, one
// pixel per point whatever the image's resolutions. nullptr when the size gives no whole pixel, is not a
// finite positive number, or the pixels cannot be made.
std::shared_ptr<kit::Image> grayScaleImage(const kit::Image& image);
