#pragma once

#include <QIcon>
#include <QImage>

namespace kit {
class Image;
}  // namespace kit

namespace qthost {

// A kit image's pixels as a QImage: an image drawn on demand drawn `pixelWidth` wide (at its size in points
// when 0), any other its largest representation; null when it has no pixels.
QImage qtImage(const kit::Image& image, int pixelWidth = 0);

// A kit image as an icon with the sizes desktops ask for, from task bars to window switchers.
QIcon qtIcon(const kit::Image& image);

}  // namespace qthost
