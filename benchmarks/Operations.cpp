#include "Operations.h"

#include <functional>
#include <map>
#include <optional>

#include "app/KRMainController.h"
#include "hosts/headless/HeadlessHost.h"
#include "kit/foundation/LocalizedCompare.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Bitmap.h"
#include "kit/graphics/Image.h"
#include "kit/quartz/LayerRenderer.h"
#include "support/WindowListEntries.h"
#include "tint/KRTintView.h"
#include "tint/KRTintWindow.h"
#include "toolkit/GrayScaleImage.h"
#include "update/KRSparkleWrapper.h"

namespace {

// A launched controller on a visible bar at the top of a 1440 × 900 screen, checks far apart so that
// only what an operation runs is measured.
class LaunchedWorld : public Operation {
protected:
    explicit LaunchedWorld(kit::PropertyList::Array windows = {}) {
        kit::UserDefaults::standard().setBool(true, "Shown Settings");
        kit::UserDefaults::standard().setDouble(1e6, "Menu Bar State Check Interval");
        windows.push_back(menuBarEntry(24));
        _world.setWindowList(std::move(windows));
        _world.setDesktopImageURL(0, "file:///usr/share/backgrounds/default.png");
        _world.setMouseLocation(away);
        _controller.applicationDidFinishLaunching(nullptr);
        _world.advance(1.0);
    }

    static constexpr kit::Point away{700, 300};
    static constexpr kit::Point onTheBar{700, 890};
    headless::HeadlessHost _world;
    KRMainController _controller;
};

// Nothing has changed since the last pass.
class IdleLayoutPass : public LaunchedWorld {
public:
    void run() override { _controller.positionTintWindow(&_controller); }
};

// The pointer has come onto the bar or left it, so the tint fades to the other opacity.
class FadingLayoutPass : public LaunchedWorld {
public:
    void run() override {
        _hovering = !_hovering;
        _world.setMouseLocation(_hovering ? onTheBar : away);
        _controller.positionTintWindow(&_controller);
    }

private:
    bool _hovering = false;
};

kit::PropertyList::Array ordinaryWindows(int count) {
    kit::PropertyList::Array windows;
    for (int index = 0; index < count; ++index) {
        windows.push_back(applicationWindowEntry("App " + std::to_string(index % 17),
                                                 kit::Rect(10.0 * index, 40, 800, 600)));
    }
    return windows;
}

// A check that walks the window list, the bar being its last entry.
class Check : public LaunchedWorld {
public:
    explicit Check(int entries) : LaunchedWorld(ordinaryWindows(entries - 1)) {}
    void run() override { _controller.updateMenuBarVisibilityAndColorsKey(&_controller); }
};

// The tint view reads its three colours again and is rendered at scale 2, as a redraw does.
class GradientRedraw : public Operation {
public:
    GradientRedraw(double width, double height) : _view(kit::Rect(0, 0, width, height)) {
        KRTintWindow::setTopColor(kit::Color::sRGB(0.1, 0.2, 0.3, 0.4));
        KRTintWindow::setCenterColor(kit::Color::sRGB(0.5, 0.6, 0.7, 0.8));
        KRTintWindow::setBottomColor(kit::Color::calibratedWhite(0.9, 1.0));
    }
    void run() override {
        _view.updateLayer();
        _pixels = kit::LayerRenderer::render(*_view.layer(), 2.0);
    }

private:
    headless::HeadlessHost _world;
    KRTintView _view;
    kit::Bitmap _pixels;
};

// The update icon made and drawn at scale 2, as the update menu and the settings window show it.
class DiskIcon : public Operation {
public:
    explicit DiskIcon(double size) : _size(size) {}
    void run() override { _pixels = KRSparkleWrapper::updateIconWithSize(_size)->bitmapForScale(2.0); }

private:
    headless::HeadlessHost _world;
    double _size;
    kit::Bitmap _pixels;
};

// A grey copy of a colourful, half-transparent picture (premultiplied, so no channel above the alpha), as a
// disabled button's image is made.
class GreyCopy : public Operation {
public:
    explicit GreyCopy(int side) {
        kit::Bitmap picture(side, side);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                picture.pixels()[static_cast<std::size_t>(y) * side + x] =
                    0x80000000u | (static_cast<std::uint32_t>(x * 0x010203 + y * 0x030201) & 0x007f7f7fu);
            }
        }
        _image = kit::Image::imageWithBitmap(std::move(picture), kit::Size{double(side), double(side)});
    }
    void run() override { _grey = grayScaleImage(*_image); }

private:
    headless::HeadlessHost _world;
    std::shared_ptr<kit::Image> _image;
    std::shared_ptr<kit::Image> _grey;
};

// The credits sorted for the About panel: `lines` lines of a few words and a version number each.
class CreditsSort : public Operation {
public:
    explicit CreditsSort(int lines) {
        for (int line = 0; line < lines; ++line) {
            _lines.push_back("Library " + std::to_string((line * 7919) % lines) + " by Maker, version " +
                             std::to_string(line % 13));
        }
    }
    void run() override {
        std::vector<std::string> lines = _lines;
        kit::sortByLocalizedStandardCompare(lines);
    }

private:
    headless::HeadlessHost _world;
    std::vector<std::string> _lines;
};

// A settings domain of about `bytes`, the most a settings file may hold: opened (read and parsed), or
// changed (the whole file written and synced), as a slider step does.
class LargeSettings : public Operation {
public:
    LargeSettings(std::size_t bytes, bool change) : _change(change) {
        kit::PropertyList::Dictionary values;
        for (std::size_t key = 0; values.size() * 300 < bytes; ++key) {
            values["Top Color: file:///pictures/" + std::to_string(key) + ".png"] = std::string(200, 'c');
        }
        kit::PropertyListSerialization::writeFile(kit::PropertyList(values), file());
        _defaults.emplace(_world.defaultsDirectory(), domain);
    }
    void run() override {
        if (_change) {
            _defaults->setDouble(_alpha = 0.7 - _alpha, "Idle Alpha");
        } else {
            _defaults.emplace(_world.defaultsDirectory(), domain);
        }
    }

private:
    static constexpr const char* domain = "com.example.Large";
    std::filesystem::path file() const { return _world.defaultsDirectory() / (std::string(domain) + ".plist"); }

    headless::HeadlessHost _world;
    std::optional<kit::UserDefaults> _defaults;
    bool _change;
    double _alpha = 0.2;
};

using Maker = std::function<std::unique_ptr<Operation>()>;

const std::vector<std::pair<std::string, Maker>>& operations() {
    static const std::vector<std::pair<std::string, Maker>> all = {
        {"idle_layout_pass", [] { return std::make_unique<IdleLayoutPass>(); }},
        {"fading_layout_pass", [] { return std::make_unique<FadingLayoutPass>(); }},
        {"check_20_entries", [] { return std::make_unique<Check>(20); }},
        {"check_200_entries", [] { return std::make_unique<Check>(200); }},
        {"gradient_redraw_1440x24", [] { return std::make_unique<GradientRedraw>(1440, 24); }},
        {"gradient_redraw_3456x74", [] { return std::make_unique<GradientRedraw>(3456, 74); }},
        {"disk_icon_128", [] { return std::make_unique<DiskIcon>(128); }},
        {"grey_copy_512x512", [] { return std::make_unique<GreyCopy>(512); }},
        {"credits_sort_1000_lines", [] { return std::make_unique<CreditsSort>(1000); }},
        {"settings_open_1MiB", [] { return std::make_unique<LargeSettings>(1u << 20, false); }},
        {"settings_change_1MiB", [] { return std::make_unique<LargeSettings>(1u << 20, true); }},
    };
    return all;
}

}  // namespace

const std::vector<std::string>& Operation::names() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> names;
        for (const auto& [name, maker] : operations()) {
            names.push_back(name);
        }
        return names;
    }();
    return all;
}

std::unique_ptr<Operation> Operation::make(const std::string& name) {
    for (const auto& [known, maker] : operations()) {
        if (known == name) {
            return maker();
        }
    }
    return nullptr;
}
