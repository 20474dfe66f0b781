#include "kit/graphics/Image.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

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

QByteArray pictureBytes(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, largestImageFile);
    return bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())) : QByteArray();
}

Bitmap bitmapFromImage(const QImage& image) {
    Bitmap bitmap(image.width(), image.height());
    for (int row = 0; row < bitmap.height(); ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
        std::copy_n(line, bitmap.width(), bitmap.pixels() + static_cast<std::size_t>(row) * bitmap.width());
    }
    return bitmap;
}

Bitmap bitmapFromFile(const std::filesystem::path& path) {
    return bitmapFromImage(QImage::fromData(pictureBytes(path)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

Bitmap renderedDocument(const std::filesystem::path& path, int width, int height) {
    QSvgRenderer renderer(pictureBytes(path));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return bitmapFromImage(image);
}

}  // namespace

std::shared_ptr<Image> Image::imageNamed(const std::string& name) {
    NamedImages& images = namedImages();
    if (const auto found = images.find(name); found != images.end()) {
        return found->second;
    }
    std::shared_ptr<Image> image = systemImageNamed(name);
    if (!image) {
        image = imageFromFile(name);
    }
    if (!image) {
        return nullptr;
    }
    return images.emplace(name, std::move(image)).first->second;
}

std::shared_ptr<Image> Image::imageFromFile(const std::string& name) {
    const Bundle& bundle = Bundle::main();
    std::shared_ptr<Image> image;
    if (const auto path = bundle.pathForResource(name, "png")) {
        Bitmap bitmap = bitmapFromFile(*path);
        if (bitmap.isEmpty()) {
            return nullptr;
        }
        image = std::make_shared<Image>(Size{double(bitmap.width()), double(bitmap.height())});
        image->addRepresentation(std::move(bitmap));
    } else if (const auto document = bundle.pathForResource(name, "svg")) {
        const QSize size = QSvgRenderer(pictureBytes(*document)).defaultSize();
        if (size.isEmpty()) {
            return nullptr;  // not a document the renderer can read
        }
        image = std::make_shared<Image>(Size{double(size.width()), double(size.height())});
        image->_vectorDocument = *document;
    } else {
        return nullptr;
    }
    image->_name = name;
    image->_template = name.ends_with("Template");
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
    if (_drawingHandler || !_vectorDocument.empty()) {
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
    if (!_vectorDocument.empty()) {
        return cachedDrawing(width, height, [&] { return renderedDocument(_vectorDocument, width, height); });
    }
    return cachedDrawing(width, height, [&] {
        GraphicsContext context(Bitmap(width, height), scale, _flipped);
        GraphicsContext::saveGraphicsState();
        GraphicsContext::setCurrentContext(&context);
        _drawingHandler(Rect({0.0, 0.0}, _size));
        GraphicsContext::restoreGraphicsState();
        return context.takeBitmap();
    });
}

Bitmap Image::cachedDrawing(int width, int height, const std::function<Bitmap()>& draw) const {
    const auto key = std::pair(width, height);
    if (const auto found = _drawnRepresentations.find(key); found != _drawnRepresentations.end()) {
        return found->second;
    }
    return _drawnRepresentations[key] = draw();
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
