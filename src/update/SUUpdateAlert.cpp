#include "update/SUUpdateAlert.h"

#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "kit/appkit/Workspace.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/StringFormat.h"
#include "kit/foundation/URL.h"
#include "update/ProductPage.h"
#include "update/SUAppcastItem.h"

namespace {

constexpr double width = 420.0;
constexpr double height = 130.0;
constexpr double margin = 20.0;
constexpr double buttonWidth = 150.0;
constexpr double buttonHeight = 28.0;

struct Page {
    std::string address;
    const char* buttonTitle;
};

// The first web page among the item's own, its release notes and the product page. Addresses from the
// feed that are no web addresses are passed over: the browser would open a local file.
std::optional<Page> pageAbout(const kit::Bundle& bundle, const SUAppcastItem& item) {
    const Page candidates[] = {{item.infoURL, "Visit Download Page"},
                               {item.releaseNotesURL, "Read Release Notes"},
                               {productPageAddress(bundle), "Visit Product Page"}};
    for (const Page& page : candidates) {
        if (const auto url = kit::URL::URLWithString(page.address); url && url->isWebAddress()) {
            return page;
        }
    }
    return std::nullopt;
}

}  // namespace

SUUpdateAlert::SUUpdateAlert(const std::string& title, const std::string& message)
    : _window(std::make_unique<kit::Window>(kit::Rect(0, 0, width, height), kit::WindowStyleMaskTitled,
                                            kit::BackingStoreType::Buffered, false)) {
    _window->setTitle(title);
    _window->setReleasedWhenClosed(false);
    auto field = kit::TextField::labelWithString(message);
    // As rich text, the sentence wraps within the field instead of being cut at its edge.
    field->setAttributedStringValue(kit::AttributedString(message));
    field->setFrame(kit::Rect(margin, height - margin - 40.0, width - 2 * margin, 40.0));
    _messageField = field.get();
    _window->contentView()->addSubview(std::move(field));
}

SUUpdateAlert::~SUUpdateAlert() = default;

std::unique_ptr<SUUpdateAlert> SUUpdateAlert::updateAlert(const kit::Bundle& bundle,
                                                          const SUAppcastItem& item) {
    const std::optional<std::string> name = bundle.infoString("CFBundleName");
    const std::string message = kit::stringWithFormat(
        kit::localized("%@ %@ is now available! You are currently using %@ %@."),
        {name, item.displayVersionString, name, bundle.infoString("CFBundleShortVersionString")});
    std::unique_ptr<SUUpdateAlert> alert(new SUUpdateAlert(kit::localized("Software Update"), message));
    if (const std::optional<Page> page = pageAbout(bundle, item)) {
        alert->_pageURL = page->address;
        alert->_defaultButton =
            alert->addButton(kit::localized(page->buttonTitle), "visitDownloadPage:", width - margin);
        alert->_otherButton =
            alert->addButton(kit::localized("Later"), "dismiss:", width - margin - buttonWidth - 8.0);
    } else {
        alert->_defaultButton = alert->addButton(kit::localized("OK"), "dismiss:", width - margin);
    }
    return alert;
}

std::unique_ptr<SUUpdateAlert> SUUpdateAlert::upToDateAlert(const kit::Bundle& bundle) {
    const std::string message = kit::stringWithFormat(
        kit::localized("%@ %@ is currently the newest version available."),
        {bundle.infoString("CFBundleName"), bundle.infoString("CFBundleShortVersionString")});
    std::unique_ptr<SUUpdateAlert> alert(new SUUpdateAlert(kit::localized("You’re up to date!"), message));
    alert->_defaultButton = alert->addButton(kit::localized("OK"), "dismiss:", width - margin);
    return alert;
}

std::unique_ptr<SUUpdateAlert> SUUpdateAlert::failureAlert(const std::string& reason) {
    std::unique_ptr<SUUpdateAlert> alert(new SUUpdateAlert(kit::localized("Update Check Failed"), reason));
    alert->_defaultButton = alert->addButton(kit::localized("OK"), "dismiss:", width - margin);
    return alert;
}

const kit::DispatchTable& SUUpdateAlert::classDispatchTable() {
    static const kit::DispatchTable table(
        &Object::classDispatchTable(), {kit::action<&SUUpdateAlert::visitDownloadPage>("visitDownloadPage:"),
                                        kit::action<&SUUpdateAlert::dismiss>("dismiss:")});
    return table;
}

kit::Button* SUUpdateAlert::addButton(const std::string& title, const char* action, double right) {
    auto button =
        std::make_unique<kit::Button>(kit::Rect(right - buttonWidth, margin, buttonWidth, buttonHeight));
    button->setTitle(title);
    button->setTarget(this);
    button->setAction(kit::sel(action));
    kit::Button* added = button.get();
    _window->contentView()->addSubview(std::move(button));
    return added;
}

const std::string& SUUpdateAlert::message() const {
    return _messageField->stringValue();
}

void SUUpdateAlert::show() {
    _window->center();
    _window->makeKeyAndOrderFront(nullptr);
}

bool SUUpdateAlert::isShown() const {
    return _window->isVisible();
}

void SUUpdateAlert::visitDownloadPage(kit::Object* sender) {
    kit::Workspace::shared().openURL(_pageURL);
    dismiss(sender);
}

void SUUpdateAlert::dismiss(kit::Object* /*sender*/) {
    _window->close();
}
