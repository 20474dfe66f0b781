#include "about/KRAboutPanelManager.h"

#include <any>
#include <optional>
#include <string>
#include <vector>

#include "about/AboutCredits.h"
#include "about/AboutPanelSearch.h"
#include "about/KRContextTextAttachmentCell.h"
#include "about/TitlebarAccessories.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/StandardAboutPanel.h"
#include "kit/appkit/Window.h"
#include "kit/appkit/Workspace.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/URL.h"
#include "kit/graphics/Image.h"

namespace {

std::string infoAddress(const char* key) {
    return kit::Bundle::main().infoString(key).value_or("");
}

std::string homePageAddress() {
    return infoAddress("KRMakerHomePageURL");
}

}  // namespace

std::unique_ptr<KRAboutPanelManager> KRAboutPanelManager::make() {
    return std::unique_ptr<KRAboutPanelManager>(new KRAboutPanelManager);
}

KRAboutPanelManager& KRAboutPanelManager::aboutPanelManager() {
    static auto* shared = new kit::ProcessLocal<KRAboutPanelManager>(&KRAboutPanelManager::make);
    return shared->get();
}

const kit::DispatchTable& KRAboutPanelManager::classDispatchTable() {
    static const kit::DispatchTable table(
        &kit::Object::classDispatchTable(),
        {kit::action<&KRAboutPanelManager::orderFrontStandardAboutPanel>("orderFrontStandardAboutPanel:"),
         kit::action<&KRAboutPanelManager::openEULA>("openEULA:")});
    return table;
}

void KRAboutPanelManager::orderFrontStandardAboutPanel(kit::Object* /*sender*/) {
    const std::optional<std::vector<kit::Window*>> before = aboutPanelCandidatesExcluding(nullptr);
    const kit::Bundle& bundle = kit::Bundle::main();
    AboutCredits credits;
    if (const auto path = bundle.pathForResource("Credits", "txt")) {
        std::string error;
        if (std::optional<AboutCredits> read = AboutCredits::read(
                *path, bundle.infoString("NSHumanReadableCopyright").value_or("(null)"), error)) {
            credits = std::move(*read);
        } else {
            kit::log("The About panel shows no credits: " + error);
        }
    }
    kit::AboutPanelOptions options;
    options.copyright = credits.copyright;
    options.credits = credits.creditsString(kit::Image::imageNamed("KRRetinaRunningBird"), homePageAddress());
    kit::Application::shared().orderFrontStandardAboutPanelWithOptions(options);

    const std::vector<kit::Window*> none;
    const std::optional<std::vector<kit::Window*>> added =
        aboutPanelCandidatesExcluding(before ? &*before : &none);
    // An earlier command already made the panel: it stays as that command left it.
    if (added && added->size() == 1) {
        adjustPanel(*added->front());
    }
}

void KRAboutPanelManager::adjustPanel(kit::Window& panel) {
    const CreditsTextView search =
        panel.contentView() ? CreditsTextView::find(*panel.contentView()) : CreditsTextView{};
    if (search.textView) {
        search.textView->setDelegate(this);
        if (!search.metStackView) {
            fitCreditsToScrollView(panel, *search.textView);
        }
    }
    addTitlebarButtonWithTitle(panel, kit::localized("EULA"), kit::sel("openEULA:"), this);
}

void KRAboutPanelManager::openEULA(kit::Object* /*sender*/) {
    kit::Workspace::shared().openURL(infoAddress("KRMakerEULAURL"));
}

void KRAboutPanelManager::textViewClickedOnCell(kit::TextView& /*textView*/, kit::TextAttachmentCell& cell,
                                                const kit::Rect& /*cellFrame*/, std::size_t /*charIndex*/) {
    const auto* contextCell = dynamic_cast<KRContextTextAttachmentCell*>(&cell);
    const auto* address =
        contextCell ? std::any_cast<std::string>(&contextCell->textAttachmentContext()) : nullptr;
    if (const auto url = address ? kit::URL::URLWithString(*address) : std::nullopt;
        url && url->isWebAddress()) {
        kit::Workspace::shared().openURL(url->absoluteString());
    }
}
