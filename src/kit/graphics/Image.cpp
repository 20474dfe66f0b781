#include "kit/graphics/Image.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <map>

#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"

namespace kit {

namespace {

// The system symbols the hosts can draw (each maps to a themed icon there).
constexpr std::array knownSymbols = {"arrow.clockwise", "binoculars"};

using NamedImages = std::map<std::string, std::shared_ptr<Image>>;

NamedImages& namedImages() {
    static auto* images = new ProcessLocal<NamedImages>;  // never destroyed, like the platform's cache
    return images->get();
}

Bitmap bitmapFromFile(const std::filesystem::path& path) {
    const QImage image =
        QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
