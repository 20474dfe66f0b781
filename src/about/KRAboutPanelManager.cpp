#include "about/KRAboutPanelManager.h"

#include <any>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "about/AboutCredits.h"
#include "about/KRContextTextAttachmentCell.h"
#include "about/TitlebarAccessories.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/Panel.h"
#include "kit/appkit/ScrollView.h"
#include "kit/appkit/StackView.h"
#include "kit/appkit/StandardAboutPanel.h"
#include "kit/appkit/Workspace.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/Log.h"
#include "kit/graphics/Image.h"

namespace {

constexpr double scrollViewHeightAbove = 15.0;
constexpr double fitTolerance = 0.1;

std::string infoAddress(const char* key) {
    return kit::Bundle::main().infoString(key).value_or("");
}

std::string homePageAddress() {
    return infoAddress("KRMakerHomePageURL");
}

// The windows that may be the About panel: fixed-size panels of exactly the panel class whose close button
// works, other than those in `excluding`. nullopt when there is none.
std::optional<std::vector<kit::Window*>> aboutPanelCandidatesExcluding(const std::vector<kit::Window*>* excluding) {
    std::optional<std::vector<kit::Window*>> candidates;
    for (kit::Window* window : kit::Application::shared().windows()) {
        kit::Button* close = window->standardWindowButton(kit::WindowButton::Close);
        const bool excluded = excluding && std::find(excluding->begin(), excluding->end(), window) != excluding->end();
        if (window->isResizable() || !close || !close->isEnabled() || typeid(*window) != typeid(kit::Panel) ||
            excluded) {
            continue;
        }
        if (!candidates) {
            candidates.emplace();
        }
        candidates->push_back(window);
    }
    return candidates;
}

struct CreditsTextViewSearch {
    kit::TextView* textView = nullptr;
    bool metStackView = false;

    // Depth first, each view before its subviews; a text view's own subviews are not searched.
    void visit(kit::View& view) {
        if (auto* found = dynamic_cast<kit::TextView*>(&view)) {
            if (textView) {
                kit::log("unexpected bonus text view");
            } else {
                textView = found;
            }
            return;
        }
        if (dynamic_cast<kit::StackView*>(&view)) {
            metStackView = true;
        }
        for (const auto& subview : view.subviews()) {
            visit(*subview);
        }
    }
};

// An older panel shows credits that fit straight on its content view, and credits wider than the clip
// view at the clip view's width.
void fitCreditsToScrollView(kit::Window& panel, kit::TextView& textView) {
    kit::ScrollView* scrollView = textView.enclosingScrollView();
    if (!scrollView || scrollView->frame().height() <= scrollViewHeightAbove) {
        return;
    }
    const kit::Rect text = textView.frame();
    if (text.height() < scrollView->frame().height() + fitTolerance) {
        std::unique_ptr<kit::View> moved = textView.removeFromSuperview();
        moved->setFrame(scrollView->frame());
        panel.contentView()->addSubview(std::move(moved));
        scrollView->setHidden(true);
        return;
    }
    const double clipWidth = scrollView->contentView()->frame().width();
    if (text.width() > clipWidth + fitTolerance) {
        textView.setFrame(kit::Rect(0, text.minY(), clipWidth, text.height()));
    }
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
        if (const std::optional<std::string> text = kit::readUTF8File(*path)) {
            credits = AboutCredits::parse(*text, bundle.infoString("NSHumanReadableCopyright").value_or("(null)"));
        }
    }
    kit::AboutPanelOptions options;
    options.copyright = credits.copyright;
    options.credits = credits.creditsString(kit::Image::imageNamed("KRRetinaRunningBird"), homePageAddress());
    kit::Application::shared().orderFrontStandardAboutPanelWithOptions(options);

    const std::vector<kit::Window*> none;
    const std::optional<std::vector<kit::Window*>> added = aboutPanelCandidatesExcluding(before ? &*before : &none);
    // An earlier command already made the panel: it stays as that command left it.
    if (added && added->size() == 1) {
        adjustPanel(*added->front());
    }
}

void KRAboutPanelManager::adjustPanel(kit::Window& panel) {
    CreditsTextViewSearch search;
    if (panel.contentView()) {
        search.visit(*panel.contentView());
    }
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
    const auto* address = contextCell ? std::any_cast<std::string>(&contextCell->textAttachmentContext()) : nullptr;
    if (address) {
        kit::Workspace::shared().openURL(*address);
    }
}
