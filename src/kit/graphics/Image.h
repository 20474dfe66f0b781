#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"
#include "kit/graphics/Bitmap.h"
#include "kit/graphics/GraphicsContext.h"

namespace kit {

// How a symbol image is drawn: a point size and a font weight (NSImageSymbolConfiguration).
struct SymbolConfiguration {
    double pointSize = 0.0;
    double weight = 0.0;  // the font weights' scale: 0 regular, 0.23 medium
    friend bool operator==(const SymbolConfiguration&, const SymbolConfiguration&) = default;
};

// An image of a size in points (NSImage), with pixel representations at one or more resolutions. A
// symbol image names a system symbol instead; hosts draw it from their icon theme.
class Image : public Object, public std::enable_shared_from_this<Image> {
public:
    explicit Image(Size size) : _size(size) {}

    // The system's refresh glyph (NSImageNameRefreshFreestandingTemplate).
    static constexpr const char* RefreshFreestandingTemplate = "NSRefreshFreestandingTemplate";

    // A system image of that name (drawn by the kit), else the application's image `name` among the bundle's
    // resources, the same object on every call; nullptr when the bundle has none. "<name>.png" is sized in
    // points as its pixels are; "<name>.svg" at its document's size, drawn anew at each resolution.
    static std::shared_ptr<Image> imageNamed(const std::string& name);
    // The system symbol `symbolName`; nullptr for a symbol the system does not have.
    static std::shared_ptr<Image> imageWithSystemSymbolName(const std::string& symbolName,
                                                            const std::string& accessibilityDescription);
    // A copy of this symbol image drawn with `configuration`; nullptr for an image that is no symbol.
    std::shared_ptr<Image> imageWithSymbolConfiguration(const SymbolConfiguration& configuration) const;

    // Draws the image into the rectangle it is given (its whole extent, in points) and reports success.
    using DrawingHandler = std::function<bool(const Rect& destination)>;
    // An image drawn on demand (imageWithSize:flipped:drawingHandler:): the handler runs again for every new
    // resolution the image is drawn at, with a fresh context current.
    static std::shared_ptr<Image> imageWithSize(Size size, bool flipped, DrawingHandler handler);
    // An image of one representation (initWithCGImage:size:), `size` in points whatever its pixels.
    static std::shared_ptr<Image> imageWithBitmap(Bitmap bitmap, Size size);

    // The image's pixels at `scale` pixels per point: the drawing handler's, or the representation nearest
    // that resolution (the smallest one at least as fine, else the finest). Empty when there are none.
    Bitmap bitmapForScale(double scale) const;
    // Draws into the current graphics context (drawInRect:fromRect:operation:fraction:); an empty
    // `fromRect` is the whole image. Nothing happens without a current context.
    void drawInRect(const Rect& rect, const Rect& fromRect, CompositingOperation operation,
                    double fraction) const;

    // Registers the image under `name` (setName:): imageNamed gives it from now on, in place of any image
    // that had the name before. Only an image held by a shared pointer can be registered.
    void setName(const std::string& name);

    Size size() const { return _size; }
    void setSize(Size size) { _size = size; }
    const std::string& name() const { return _name; }
    // Template images are drawn from their alpha alone, in the colour the place showing them chooses.
    bool isTemplate() const { return _template; }
    void setTemplate(bool isTemplate) { _template = isTemplate; }

    const std::optional<std::string>& symbolName() const { return _symbolName; }
    const std::string& accessibilityDescription() const { return _accessibilityDescription; }
    const std::optional<SymbolConfiguration>& symbolConfiguration() const { return _symbolConfiguration; }

    // Pixels of this image at some resolution: a representation W pixels wide stands for a scale of
    // W / size().width.
    void addRepresentation(Bitmap bitmap) { _representations.push_back(std::move(bitmap)); }
    const std::vector<Bitmap>& representations() const { return _representations; }

private:
    static std::shared_ptr<Image> imageFromFile(const std::string& name);
    Bitmap drawnBitmap(double scale) const;
    // Pixels of `width` by `height` drawn afresh (a drawing handler, or a vector document), cached by size.
    Bitmap cachedDrawing(int width, int height, const std::function<Bitmap()>& draw) const;

    Size _size;
    std::string _name;
    bool _template = false;
    std::optional<std::string> _symbolName;
    std::string _accessibilityDescription;
    std::optional<SymbolConfiguration> _symbolConfiguration;
    std::vector<Bitmap> _representations;
    DrawingHandler _drawingHandler;
    std::filesystem::path _vectorDocument;  // an SVG file, drawn at each resolution asked for
    bool _flipped = false;
    mutable std::map<std::pair<int, int>, Bitmap> _drawnRepresentations;  // by pixel size
};

}  // namespace kit
