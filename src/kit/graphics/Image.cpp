#include "kit/graphics/Image.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>

#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/FileContents.h"
#include "kit/graphics/SystemImages.h"

namespace kit {

namespace {

// The system symbols the hosts can draw (each maps to a themed icon there).
constexpr std::array knownSymbols = {"arrow.clockwise", "binoculars"};

using NamedImages = std::map<std::string, std::shared_ptr<Image>>;

NamedImages& namedImages() {
    static auto* images = new ProcessLocal<NamedImages>;  // never destroyed, like the platform's cache
    return images->get();
}

// The bundle's pictures are icons and artwork of some kilobytes; a file that is no regular file, or larger
// than this, is no picture of ours (a FIFO would stall the panel that shows it).
constexpr std::size_t largestImageFile = std::size_t{8} << 20;

Bitmap bitmapFromFile(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, largestImageFile);
    const QImage image =
        bytes ? QImage::fromData(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())))
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied)
              : QImage();
    Bitmap bitmap(image.width(), image.height());
    for (int row = 0; row < bitmap.height(); ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
        std::copy_n(line, bitmap.width(), bitmap.pixels() + static_cast<std::size_t>(row) * bitmap.width());
    }
    return bitmap;
}

}  // namespace

std::shared_ptr<Image> Image::imageNamed(const std::string& name) {
    NamedImages& images = namedImages();
    if (const auto found = images.find(name); found != images.end()) {
        return found->second;
    }
    if (auto system = systemImageNamed(name)) {
        return images.emplace(name, std::move(system)).first->second;
    }
    const auto path = Bundle::main().pathForResource(name, "png");
    if (!path) {
        return nullptr;
    }
    Bitmap bitmap = bitmapFromFile(*path);
    if (bitmap.isEmpty()) {
        return nullptr;
    }
    auto image = std::make_shared<Image>(Size{double(bitmap.width()), double(bitmap.height())});
    image->_name = name;
    image->_template = name.ends_with("Template");
    image->addRepresentation(std::move(bitmap));
    images.emplace(name, image);
    return image;
}

std::shared_ptr<Image> Image::imageWithSize(Size size, bool flipped, DrawingHandler handler) {
    auto image = std::make_shared<Image>(size);
    image->_drawingHandler = std::move(handler);
    image->_flipped = flipped;
    return image;
}

std::shared_ptr<Image> Image::imageWithBitmap(Bitmap bitmap, Size size) {
    auto image = std::make_shared<Image>(size);
    image->addRepresentation(std::move(bitmap));
    return image;
}

Bitmap Image::bitmapForScale(double scale) const {
    if (_drawingHandler) {
        return drawnBitmap(scale);
    }
    const double wanted = std::floor(_size.width * scale);
    const Bitmap* fineEnough = nullptr;  // the smallest at least as fine as wanted
    const Bitmap* finest = nullptr;
    for (const Bitmap& representation : _representations) {
        if (!finest || representation.width() > finest->width()) {
            finest = &representation;
        }
        if (representation.width() >= wanted &&
            (!fineEnough || representation.width() < fineEnough->width())) {
            fineEnough = &representation;
        }
    }
    const Bitmap* chosen = fineEnough ? fineEnough : finest;
    return chosen ? *chosen : Bitmap();
}

Bitmap Image::drawnBitmap(double scale) const {
    const int width = static_cast<int>(std::ceil(_size.width * scale - 1e-9));
    const int height = static_cast<int>(std::ceil(_size.height * scale - 1e-9));
    if (width <= 0 || height <= 0) {
        return Bitmap();
    }
    const auto key = std::pair(width, height);
    if (const auto found = _drawnRepresentations.find(key); found != _drawnRepresentations.end()) {
        return found->second;
    }
    GraphicsContext context(Bitmap(width, height), scale, _flipped);
    GraphicsContext::saveGraphicsState();
    GraphicsContext::setCurrentContext(&context);
    _drawingHandler(Rect({0.0, 0.0}, _size));
    GraphicsContext::restoreGraphicsState();
    return _drawnRepresentations[key] = context.takeBitmap();
}

void Image::drawInRect(const Rect& rect, const Rect& fromRect, CompositingOperation operation,
                       double fraction) const {
    if (GraphicsContext* context = GraphicsContext::currentContext()) {
        context->drawImage(*this, rect, fromRect, operation, fraction);
    }
}

void Image::setName(const std::string& name) {
    if (auto self = weak_from_this().lock()) {
        _name = name;
        namedImages()[name] = std::move(self);
    }
}

std::shared_ptr<Image> Image::imageWithSystemSymbolName(const std::string& symbolName,
                                                        const std::string& accessibilityDescription) {
    if (std::find(knownSymbols.begin(), knownSymbols.end(), symbolName) == knownSymbols.end()) {
        return nullptr;
    }
    auto image = std::make_shared<Image>(Size{16.0, 16.0});
    image->_symbolName = symbolName;
    image->_accessibilityDescription = accessibilityDescription;
    image->_template = true;
    return image;
}

std::shared_ptr<Image> Image::imageWithSymbolConfiguration(const SymbolConfiguration& configuration) const {
    if (!_symbolName) {
        return nullptr;
    }
    auto image = imageWithSystemSymbolName(*_symbolName, _accessibilityDescription);
    image->_symbolConfiguration = configuration;
    return image;
}

}  // namespace kit
