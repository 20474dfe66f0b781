#include "about/KRAdButtonWindow.h"

#include "about/TitlebarAccessories.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/ViewController.h"
#include "kit/appkit/Workspace.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/PropertyList.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"

namespace {

constexpr const char* appVersionKey = "KRAdButtonWindowAppVersion";
const kit::Selector toggleAdPopoverSelector = kit::sel("toggleAdPopover:");

constexpr double contentWidth = 180.0;
constexpr double buttonInset = 10.0;
constexpr double textInset = 15.0;
constexpr double textWidth = 150.0;
constexpr double textHeightLimit = 1000.0;
constexpr double messageFontSize = 7.0;

std::string formatted(const std::string& format, const std::string& argument) {
    std::string text = format;
    if (const auto at = text.find("%@"); at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

kit::AttributedString adMessage() {
    const std::string headline = formatted(kit::localized("Like %@? There's more where that came from!"),
                                           kit::Bundle::main().infoString("CFBundleName").value_or("(null)"));
    kit::AttributedString message(headline + "\n\n" +
                                  kit::localized("Our apps aren't all free, but they're all useful."));
    const std::size_t headlineLength = kit::AttributedString(headline).length();
    kit::TextAttributes bold;
    bold.foregroundColor = kit::Color::labelColor();
    bold.font = kit::Font::systemFontOfSize(kit::Font::systemFontSize(), kit::FontWeightBold);
    message.addAttributes(bold, kit::TextRange{0, headlineLength});
    kit::TextAttributes body;
    body.font = kit::Font::systemFontOfSize(kit::Font::systemFontSize());
    message.addAttributes(body, kit::TextRange{headlineLength + 2, message.length() - headlineLength - 2});
    return message;
}

std::unique_ptr<kit::TextField> makeMessageField() {
    auto field = std::make_unique<kit::TextField>(kit::Rect(0, 0, textWidth, textHeightLimit));
    field->setSelectable(false);
    field->setEditable(false);
    field->setBordered(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setFont(kit::Font::systemFontOfSize(messageFontSize));
    field->setTextColor(kit::Color::secondaryLabelColor());
    field->setAttributedStringValue(adMessage());
    return field;
}

}  // namespace

KRAdButtonWindow::~KRAdButtonWindow() {
    if (_adPopover) {
        _adPopover->setDelegate(nullptr);
    }
}

const kit::DispatchTable& KRAdButtonWindow::classDispatchTable() {
    static const kit::DispatchTable table(
        &kit::Window::classDispatchTable(),
        {kit::action<&KRAdButtonWindow::toggleAdPopover>("toggleAdPopover:")});
    return table;
}

KRAdButtonWindow::PopoverLayout KRAdButtonWindow::popoverLayout(double buttonHeight, kit::Size textSize) {
    return PopoverLayout{
        kit::Rect(0, 0, contentWidth, buttonHeight + textSize.height + 40.0),
        kit::Rect(buttonInset, buttonInset, contentWidth - 2.0 * buttonInset, buttonHeight),
        kit::Rect(textInset, buttonHeight + 25.0, textSize.width, textSize.height),
    };
}

void KRAdButtonWindow::makeKeyAndOrderFront(kit::Object* sender) {
    if (!_adButton) {
        _adButton = addTitlebarButtonWithTitle(*this, kit::localized("Hi!"), toggleAdPopoverSelector, this);
        setTabbingMode(kit::WindowTabbingMode::Disallowed);
    }
    kit::Window::makeKeyAndOrderFront(sender);
    if (!_adPopover) {
        openAdPopoverOncePerVersion(sender);
    }
}

void KRAdButtonWindow::openAdPopoverOncePerVersion(kit::Object* sender) {
    const std::optional<std::string> version = kit::Bundle::main().infoString("CFBundleShortVersionString");
    if (!version) {
        return;
    }
    kit::UserDefaults& defaults = kit::UserDefaults::standard();
    const std::optional<kit::PropertyList> stored = defaults.objectForKey(appVersionKey);
    if (stored && stored->string() && *stored->string() == *version) {
        return;
    }
    // Written first, so that a popover that fails to show does not come back at every showing.
    defaults.setObject(kit::PropertyList(*version), appVersionKey);
    toggleAdPopover(sender);
}

void KRAdButtonWindow::toggleAdPopover(kit::Object* sender) {
    if (_adPopover) {
        closeAdPopover(sender);
    } else {
        openAdPopover();
    }
}

void KRAdButtonWindow::openAdPopover() {
    if (!_adButton) {
        return;
    }
    _adButton->setTitle(kit::localized("OK"));
    std::unique_ptr<kit::TextField> field = makeMessageField();
    std::unique_ptr<kit::Button> website =
        kit::Button::buttonWithTitle(kit::localized("Visit Our Website"), this, toggleAdPopoverSelector);
    if (kit::SystemVersion::current().isAtLeast(11)) {
        website->setControlSize(kit::ControlSize::Large);
    }
    website->sizeToFit();
    const double buttonHeight = website->frame().height();
    const kit::Size textSize =
        field->cellSizeForBounds(kit::Rect(textInset, buttonHeight + 25.0, textWidth, textHeightLimit));
    const PopoverLayout layout = popoverLayout(buttonHeight, textSize);
    website->setFrame(layout.button);
    field->setFrame(layout.message);
    auto content = std::make_unique<kit::View>(layout.content);
    content->addSubview(std::move(field));
    content->addSubview(std::move(website));
    auto controller = std::make_shared<kit::ViewController>();
    controller->setView(std::move(content));

    _adPopover = std::make_unique<kit::Popover>();
    _adPopover->setContentViewController(std::move(controller));
    _adPopover->setAnimates(true);
    _adPopover->setBehavior(kit::PopoverBehavior::ApplicationDefined);
    _adPopover->setDelegate(this);
    _adPopover->showRelativeToRect(_adButton->bounds(), *_adButton, kit::RectEdge::MinY);
}

void KRAdButtonWindow::closeAdPopover(kit::Object* sender) {
    _adButton->setTitle(kit::localized("Hi!"));
    if (!sender) {
        return;
    }
    // No close notification comes back for a popover closed here.
    _adPopover->setDelegate(nullptr);
    _adPopover->close();
    _adPopover.reset();
    if (sender != _adButton) {
        kit::Workspace::shared().openURL(kit::Bundle::main().infoString("KRMakerHomePageURL").value_or(""));
    }
}

void KRAdButtonWindow::popoverDidClose(kit::Notification& notification) {
    if (_adPopover && notification.object() == _adPopover.get()) {
        toggleAdPopover(nullptr);
    }
}
