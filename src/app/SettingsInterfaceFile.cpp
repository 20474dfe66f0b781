#include "app/SettingsInterfaceFile.h"

#include "app/KRMainController.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/InterfaceFile.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/Bundle.h"
#include "toolkit/KRSizeToFitButton.h"
#include "toolkit/KRSizeToFitPopUpButton.h"
#include "toolkit/KRSizeToFitSlider.h"
#include "toolkit/KRSizeToFitTextField.h"
#include "update/KRSparkleWrapper.h"

namespace {

// Rows from the top; labels end at one column edge, their controls start just right of it.
constexpr double windowWidth = 460.0;
constexpr double windowHeight = 330.0;
constexpr double margin = 20.0;
constexpr double labelColumnEnd = 170.0;
constexpr double controlColumn = 180.0;
constexpr double rowHeight = 24.0;
constexpr double rowY[] = {286.0, 250.0, 214.0, 172.0, 136.0, 94.0, 58.0};
enum Row { TopColor, CenterColor, BottomColor, IdleAlpha, HoverAlpha, Updates, LaunchAtLogin };
constexpr double wellWidth = 44.0;

// A plain text that fits itself: no bezel, border or background, neither editable nor selectable.
KRSizeToFitTextField* makeText(kit::InterfaceBuilder& file, kit::View* content, const std::string& text,
                               const kit::Rect& frame, kit::AutoresizingMask pinnedMask) {
    auto* label = file.makeView<KRSizeToFitTextField>("KRSizeToFitTextField", frame);
    if (label) {
        label->setBezeled(false);
        label->setBordered(false);
        label->setEditable(false);
        label->setSelectable(false);
        label->setDrawsBackground(false);
        label->setAutoresizingMask(pinnedMask);
        label->setStringValue(kit::localized(text));
        file.addSubview(content, label);
    }
    return label;
}

// A row's label, pinned at its right edge, so it grows leftwards and its control keeps its place.
void makeLabel(kit::InterfaceBuilder& file, kit::View* content, const std::string& text, Row row) {
    makeText(file, content, text, kit::Rect(margin, rowY[row], labelColumnEnd - margin, rowHeight),
             kit::ViewMinXMargin);
}

kit::ColorWell* makeWell(kit::InterfaceBuilder& file, kit::View* content, KRMainController* owner, Row row) {
    auto* well = file.makeView<kit::ColorWell>("NSColorWell",
                                               kit::Rect(controlColumn, rowY[row], wellWidth, rowHeight));
    if (well) {
        well->setTarget(owner);
        well->setAction(kit::sel("changeColor:"));
        file.addSubview(content, well);
    }
    return well;
}

KRSizeToFitSlider* makeSlider(kit::InterfaceBuilder& file, kit::View* content, KRMainController* owner,
                              Row row) {
    auto* slider = file.makeView<KRSizeToFitSlider>(
        "KRSizeToFitSlider",
        kit::Rect(controlColumn, rowY[row], windowWidth - margin - controlColumn, rowHeight));
    if (slider) {
        slider->setMinValue(0.0);
        slider->setMaxValue(1.0);
        slider->setAutoresizingMask(kit::ViewWidthSizable);
        slider->setTarget(owner);
        slider->setAction(kit::sel("changeAlpha:"));
        file.addSubview(content, slider);
    }
    return slider;
}

// A check box or push button that fits its title, pinned at `pinnedMask`'s edge.
KRSizeToFitButton* makeButton(kit::InterfaceBuilder& file, kit::View* content, const std::string& title,
                              const kit::Rect& frame, kit::AutoresizingMask pinnedMask,
                              kit::ButtonType type) {
    auto* button = file.makeView<KRSizeToFitButton>("KRSizeToFitButton", frame);
    if (button) {
        button->setButtonType(type);
        button->setAutoresizingMask(pinnedMask);
        button->setTitle(kit::localized(title));
        file.addSubview(content, button);
    }
    return button;
}

// A pull-down of the update commands, sent to the shared update wrapper.
KRSizeToFitPopUpButton* makeUpdateSelector(kit::InterfaceBuilder& file, kit::View* content) {
    auto* popUp = file.makeView<KRSizeToFitPopUpButton>(
        "KRSizeToFitPopUpButton", kit::Rect(controlColumn, rowY[Updates], 200.0, rowHeight + 2.0));
    auto* updates = file.make<KRSparkleWrapper>("KRSparkleWrapper");
    if (popUp && updates) {
        popUp->setPullsDown(true);
        popUp->addItemWithTitle(kit::localized("Check for Updates"));
        const std::pair<const char*, const char*> commands[] = {{"Check Now...", "checkForUpdates:"},
                                                                {"Visit Product Page", "visitProductPage:"}};
        for (const auto& [title, action] : commands) {
            popUp->addItemWithTitle(kit::localized(title));
            popUp->lastItem()->setAction(kit::sel(action));
            popUp->lastItem()->setTarget(updates);
        }
        popUp->setAutoresizingMask(kit::ViewMaxXMargin);
        file.addSubview(content, popUp);
    }
    return popUp;
}

// Where the desktop keeps the pointer's place to itself, the hover opacity is never used: said under its slider.
void makeHoverNote(kit::InterfaceBuilder& file, kit::View* content) {
    if (kit::Event::mouseLocationIsKnown()) {
        return;
    }
    KRSizeToFitTextField* note =
        makeText(file, content, "Hover cannot be followed on this desktop.",
                 kit::Rect(controlColumn, rowY[HoverAlpha] - 16.0, windowWidth - margin - controlColumn, 16.0),
                 kit::ViewMaxXMargin);
    if (note) {
        note->setControlSize(kit::ControlSize::Small);
        note->setFont(kit::Font::systemFontOfSize(11.0));
    }
}

void makeShiftHint(kit::InterfaceBuilder& file, kit::View* content) {
    KRSizeToFitTextField* hint =
        makeText(file, content, "Hold Shift to give all three colors, or both opacities, the same value.",
                 kit::Rect(margin, margin, windowWidth - 2 * margin, 17.0), kit::ViewMaxXMargin);
    if (hint) {
        hint->setControlSize(kit::ControlSize::Small);
        hint->setFont(kit::Font::systemFontOfSize(11.0));  // fitted to it when the file wakes
    }
}

}  // namespace

void buildSettingsInterfaceFile(kit::InterfaceBuilder& file, kit::Object* ownerObject) {
    auto* owner = dynamic_cast<KRMainController*>(ownerObject);
    if (!owner) {
        file.fail("its owner is not the application's controller");
        return;
    }
    auto* window = file.make<kit::Window>("KRAdButtonWindow");
    auto* content = file.makeView<kit::View>("NSView", kit::Rect(0, 0, windowWidth, windowHeight));
    if (!window || !content) {
        return;
    }
    window->setFrame(kit::Rect(0, 0, windowWidth, windowHeight), false);
    window->setTitle(kit::localized("Awning Settings"));
    window->setReleasedWhenClosed(false);
    file.setContentView(window, content);

    makeLabel(file, content, "Top color:", TopColor);
    makeLabel(file, content, "Center color:", CenterColor);
    makeLabel(file, content, "Bottom color:", BottomColor);
    makeLabel(file, content, "Opacity when idle:", IdleAlpha);
    makeLabel(file, content, "Opacity under the pointer:", HoverAlpha);
    makeLabel(file, content, "Updates:", Updates);
    kit::ColorWell* top = makeWell(file, content, owner, TopColor);
    kit::ColorWell* center = makeWell(file, content, owner, CenterColor);
    kit::ColorWell* bottom = makeWell(file, content, owner, BottomColor);
    KRSizeToFitSlider* idle = makeSlider(file, content, owner, IdleAlpha);
    KRSizeToFitSlider* hover = makeSlider(file, content, owner, HoverAlpha);
    KRSizeToFitPopUpButton* updates = makeUpdateSelector(file, content);
    KRSizeToFitButton* launchAtLogin =
        makeButton(file, content, "Start Awning at login",
                   kit::Rect(controlColumn, rowY[LaunchAtLogin], 200.0, rowHeight), kit::ViewMaxXMargin,
                   kit::ButtonType::Switch);
    KRSizeToFitButton* statusItem =
        makeButton(file, content, "Show in Menu Bar", kit::Rect(340.0, margin, 100.0, rowHeight),
                   kit::ViewMinXMargin, kit::ButtonType::MomentaryPushIn);
    makeHoverNote(file, content);
    makeShiftHint(file, content);
    if (launchAtLogin) {
        launchAtLogin->setTarget(owner);
        launchAtLogin->setAction(kit::sel("changeLaunchAtLogin:"));
    }
    if (statusItem) {
        statusItem->setTarget(owner);
        statusItem->setAction(kit::sel("showStatusItem:"));
    }

    file.connect(owner->_settingsWindow, window);
    file.connect(owner->_topColorWell, top);
    file.connect(owner->_centerColorWell, center);
    file.connect(owner->_bottomColorWell, bottom);
    file.connect(owner->_idleAlphaSlider, idle);
    file.connect(owner->_hoverAlphaSlider, hover);
    file.connect(owner->_updateSelector, updates);
    file.connect(owner->_launchAtLoginButton, launchAtLogin);
    file.connect(owner->_showStatusItemButton, statusItem);
}
