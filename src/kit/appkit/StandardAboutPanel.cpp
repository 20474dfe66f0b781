#include "kit/appkit/StandardAboutPanel.h"

#include <algorithm>
#include <memory>

#include "kit/appkit/ImageView.h"
#include "kit/appkit/Panel.h"
#include "kit/appkit/ScrollView.h"
#include "kit/appkit/StackView.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/TextView.h"
#include "kit/core/ProcessLocal.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/text/TextAttachment.h"

namespace kit {

namespace {

constexpr double panelWidth = 400.0;
constexpr double creditsWidth = 340.0;
constexpr double olderCreditsHeight = 120.0;
constexpr double newerCreditsMaximumHeight = 260.0;
constexpr double iconSize = 64.0;
constexpr double margin = 16.0;

std::unique_ptr<Panel>& panelSlot() {
    static auto* panel = new ProcessLocal<std::unique_ptr<Panel>>;  // never destroyed, as the platform's
    return panel->get();
}

// The height of the text laid out `width` wide: each line wrapped in the font of its first character, or as
// tall as its attachment's image.
double textHeight(const AttributedString& text, double width) {
    const Font creditsFont = Font::systemFontOfSize(10.0);
    double height = 0.0;
    std::size_t start = 0;
    for (std::size_t index = 0; index <= text.length(); ++index) {
        if (index < text.length() && text.characters()[index] != u'\n') {
            continue;
        }
        const std::u16string line = text.characters().substr(start, index - start);
        const TextAttributes* first = start < text.length() ? &text.attributesAtIndex(start) : nullptr;
        const std::shared_ptr<Image> image =
            first && first->attachment ? first->attachment->shownImage() : nullptr;
        if (image) {
            height += image->size().height;
        } else {
            const Font font = first && first->font ? *first->font : creditsFont;
            height += sizeOfWrappedText(AttributedString::utf8(line), font, width).height;
        }
        start = index + 1;
    }
    return height;
}

std::unique_ptr<TextField> centredLabel(const std::string& text, const Font& font) {
    auto label = TextField::labelWithString(text);
    label->setFont(font);
    label->sizeToFit();
    return label;
}

struct PanelViews {
    std::vector<std::unique_ptr<View>> column;  // top to bottom
};

PanelViews makeViews(const AboutPanelOptions& options, double creditsHeight) {
    const Bundle& bundle = Bundle::main();
    PanelViews views;
    if (const auto iconName = bundle.infoString("CFBundleIconFile")) {
        auto icon = std::make_unique<ImageView>(Rect(0, 0, iconSize, iconSize));
        icon->setImage(Image::imageNamed(*iconName));
        views.column.push_back(std::move(icon));
    }
    views.column.push_back(centredLabel(bundle.infoString("CFBundleName").value_or(""),
                                        Font::systemFontOfSize(14.0, FontWeightBold)));
    const std::string version = bundle.infoString("CFBundleShortVersionString").value_or("");
    const std::string build = bundle.infoString("CFBundleVersion").value_or("");
    views.column.push_back(
        centredLabel(localized("Version") + " " + version + (build.empty() ? "" : " (" + build + ")"),
                     Font::systemFontOfSize(11.0)));
    if (options.credits) {
        auto scrollView = std::make_unique<ScrollView>(Rect(0, 0, creditsWidth, creditsHeight));
        auto textView =
            std::make_unique<TextView>(Rect(0, 0, creditsWidth, textHeight(*options.credits, creditsWidth)));
        textView->setAttributedString(*options.credits);
        scrollView->setDocumentView(std::move(textView));
        views.column.push_back(std::move(scrollView));
    }
    const std::string copyright =
        options.copyright.value_or(bundle.infoString("NSHumanReadableCopyright").value_or(""));
    views.column.push_back(centredLabel(copyright, Font::systemFontOfSize(10.0)));
    return views;
}

double columnHeight(const PanelViews& views, double spacing) {
    double height = 0.0;
    for (const auto& view : views.column) {
        height += view->frame().height() + spacing;
    }
    return height - spacing;
}

// Older layout: the views placed by hand from the top, centred across.
void placeByHand(View& content, PanelViews views, double spacing) {
    double top = content.frame().height() - margin;
    for (auto& view : views.column) {
        const Rect old = view->frame();
        top -= old.height();
        view->setFrame(Rect((panelWidth - old.width()) / 2.0, top, old.width(), old.height()));
        top -= spacing;
        content.addSubview(std::move(view));
    }
}

void placeInStackView(View& content, PanelViews views, double spacing) {
    auto stack =
        std::make_unique<StackView>(Rect(0, margin, panelWidth, content.frame().height() - 2.0 * margin));
    stack->setSpacing(spacing);
    for (auto& view : views.column) {
        stack->addSubview(std::move(view));
    }
    stack->layoutArrangedSubviews();
    content.addSubview(std::move(stack));
}

std::unique_ptr<Panel> makePanel(const AboutPanelOptions& options) {
    const bool stacked = SystemVersion::current().isAtLeast(11);
    double creditsHeight = olderCreditsHeight;
    if (stacked && options.credits) {
        creditsHeight = std::min(textHeight(*options.credits, creditsWidth), newerCreditsMaximumHeight);
    }
    constexpr double spacing = 8.0;
    PanelViews views = makeViews(options, creditsHeight);
    const double height = columnHeight(views, spacing) + 2.0 * margin;
    auto panel = std::make_unique<Panel>(Rect(0, 0, panelWidth, height),
                                         WindowStyleMaskTitled | WindowStyleMaskClosable,
                                         BackingStoreType::Buffered, false);
    panel->setReleasedWhenClosed(false);
    panel->setTitle(localized("About") + " " + Bundle::main().infoString("CFBundleName").value_or(""));
    if (stacked) {
        placeInStackView(*panel->contentView(), std::move(views), spacing);
    } else {
        placeByHand(*panel->contentView(), std::move(views), spacing);
    }
    panel->center();
    return panel;
}

}  // namespace

Panel& StandardAboutPanel::orderFront(const AboutPanelOptions& options) {
    std::unique_ptr<Panel>& panel = panelSlot();
    if (!panel) {
        panel = makePanel(options);
    }
    panel->makeKeyAndOrderFront(nullptr);
    return *panel;
}

Panel* StandardAboutPanel::existing() {
    return panelSlot().get();
}

}  // namespace kit
