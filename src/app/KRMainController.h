#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "kit/appkit/Application.h"
#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"

namespace kit {
class Button;
class ColorWell;
class InterfaceBuilder;
class PopUpButton;
class Screen;
class Slider;
class Window;
}  // namespace kit
class KRTintWindow;

// The application's delegate and the whole visible work of Awning: it keeps the tint window over the
// menu bar with two self-rescheduling loops of delayed calls (the check and the layout pass) and opens
// the settings window. Made once by the main interface file; lives as long as the process.
class KRMainController : public kit::Object, public kit::ApplicationDelegate {
public:
    KRMainController();
    ~KRMainController() override;

    // --- Application delegate
    void applicationDidFinishLaunching(kit::Notification* notification) override;
    bool applicationShouldHandleReopen(kit::Application& application, bool hasVisibleWindows) override;
    void applicationDidChangeScreenParameters(kit::Notification* notification) override;

    // --- Menu-bar tracking. A non-nil argument cancels the loop's pending call and runs it now; the
    // loops reschedule themselves with nil.
    void updateMenuBarVisibilityAndColorsKey(kit::Object* argument);
    void positionTintWindow(kit::Object* argument);
    double alphaValueWithMouseHovering(bool hovering) const;

    // --- Settings window
    void positionSettingsWindow();
    void updateColorWells();
    // Actions of the settings window's controls; with Shift held a change applies to both opacities or
    // all three colours.
    void changeAlpha(kit::Object* sender);
    void changeColor(kit::Object* sender);
    void showStatusItem(kit::Object* sender);
    void changeLaunchAtLogin(kit::Object* sender);

    // Observation for tests and traces.
    KRTintWindow* tintWindow() const { return _tintWindow.get(); }
    struct SettingsOutlets {
        kit::Window* window;
        kit::Slider* idleAlphaSlider;
        kit::Slider* hoverAlphaSlider;
        kit::ColorWell* topColorWell;
        kit::ColorWell* centerColorWell;
        kit::ColorWell* bottomColorWell;
        kit::PopUpButton* updateSelector;
        kit::Button* showStatusItemButton;
        kit::Button* launchAtLoginButton;
    };
    SettingsOutlets settingsOutlets() const {
        return {_settingsWindow, _idleAlphaSlider,      _hoverAlphaSlider,
                _topColorWell,   _centerColorWell,      _bottomColorWell,
                _updateSelector, _showStatusItemButton, _launchAtLoginButton};
    }
    bool isMenuBarVisible() const { return _isMenuBarVisible; }
    double menuBarHeight() const { return _menuBarHeight; }

    static const kit::DispatchTable& classDispatchTable();

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }

private:
    // The bounds of the first window-list entry that is the primary display's menu bar.
    std::optional<kit::Rect> findMenuBarBounds(const kit::Rect& primaryFrame) const;
    bool updateDesktopKey();
    double checkPeriod() const;

    // The steps of a layout pass.
    void closeTintWindow();
    kit::Rect menuBarStrip(const kit::Screen& primary) const;
    // Makes the tint window if there is none; true when it was already on the active space.
    bool prepareTintWindow(const kit::Rect& strip);
    bool isPointerOverStrip(const kit::Rect& strip) const;
    void applyTintOpacity(double target, bool fade);

    void loadSettingsWindow();
    void showLaunchAtLoginState();
    friend void buildSettingsInterfaceFile(kit::InterfaceBuilder& file, kit::Object* owner);

    // Outlets of the "Settings" interface file (borrowed; nil until it loads).
    kit::Window* _settingsWindow = nullptr;
    kit::Slider* _idleAlphaSlider = nullptr;
    kit::Slider* _hoverAlphaSlider = nullptr;
    kit::ColorWell* _topColorWell = nullptr;
    kit::ColorWell* _centerColorWell = nullptr;
    kit::ColorWell* _bottomColorWell = nullptr;
    kit::PopUpButton* _updateSelector = nullptr;
    kit::Button* _showStatusItemButton = nullptr;
    kit::Button* _launchAtLoginButton = nullptr;

    std::unique_ptr<KRTintWindow> _tintWindow;
    bool _isMenuBarVisible = false;
    bool _isMenuBarTransparent = false;  // nothing sets it
    double _menuBarHeight = 0.0;
    // How far the bar found with that height keeps from the primary screen's left, top and right edges:
    // desktop panels need not span the screen nor touch its top edge. Margins, not bounds, so that a bar
    // across the screen stays across it when the screen changes.
    kit::EdgeInsets _menuBarMargins;

    // The Settings file's top-level objects, held for the rest of the process once loaded.
    std::vector<std::shared_ptr<kit::Object>> _settingsTopLevelObjects;
};
