#include <gtest/gtest.h>

#include "about/AboutCredits.h"
#include "about/AboutPanelSearch.h"
#include "about/KRAboutPanelManager.h"
#include "about/KRContextTextAttachmentCell.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ImageView.h"
#include "kit/appkit/Panel.h"
#include "kit/appkit/ScrollView.h"
#include "kit/appkit/StackView.h"
#include "kit/appkit/StandardAboutPanel.h"
#include "kit/appkit/TextView.h"
#include "kit/foundation/PropertyListSerialization.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/text/TextAttachment.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"
#include "support/TemporaryFolder.h"

namespace {

class KRAboutPanelManagerTest : public HeadlessTest {
protected:
    static std::unique_ptr<kit::Window> makePanel(std::uint64_t style = kit::WindowStyleMaskTitled |
                                                                        kit::WindowStyleMaskClosable) {
        return std::make_unique<kit::Panel>(kit::Rect(0, 0, 300, 300), style, kit::BackingStoreType::Buffered,
                                            false);
    }
    static KRAboutPanelManager& manager() { return KRAboutPanelManager::aboutPanelManager(); }
};

class PanelSubclass : public kit::Panel {
public:
    using kit::Panel::Panel;
};

TEST_F(KRAboutPanelManagerTest, ShowsCreditsAndOneEULAButtonWhoseClicksOpenTheMakersPages) {
    kit::SystemVersion::setCurrent(kit::SystemVersion(26));
    manager().orderFrontStandardAboutPanel(nullptr);
    kit::Panel* panel = kit::StandardAboutPanel::existing();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    const CreditsTextView credits = CreditsTextView::find(*panel->contentView());
    ASSERT_NE(credits.textView, nullptr);
    EXPECT_TRUE(credits.metStackView);
    EXPECT_NE(credits.textView->enclosingScrollView(), nullptr) << "a stacked panel keeps its scroll view";
    EXPECT_EQ(credits.textView->delegate(), &manager());
    EXPECT_TRUE(credits.textView->textStorage().string().starts_with("GLib and GIO by")) << "sorted";

    manager().orderFrontStandardAboutPanel(nullptr);
    ASSERT_EQ(panel->titlebarAccessoryViewControllers().size(), 1u) << "one EULA button, however often";
    auto* eula =
        dynamic_cast<kit::Button*>(panel->titlebarAccessoryViewControllers()[0]->view()->subviews()[0].get());
    ASSERT_NE(eula, nullptr);
    EXPECT_EQ(eula->title(), "EULA");
    eula->performClick(nullptr);

    const kit::AttributedString& text = credits.textView->textStorage();
    credits.textView->clickedOnAttachment(text.length() - 2, kit::Rect());
    EXPECT_EQ(world().openedURLs(),
              (std::vector<std::string>{"https://larkspur.example/eula", "https://larkspur.example/"}));
}

// Only web addresses reach the browser: never a local file or another program's scheme.
TEST_F(KRAboutPanelManagerTest, OpensOnlyWebAddressesThatContextCellsCarry) {
    kit::TextView textView{kit::Rect()};
    textView.setDelegate(&manager());
    kit::AttributedString text;
    auto attach = [&text](std::shared_ptr<kit::TextAttachmentCell> cell) {
        auto attachment = std::make_shared<kit::TextAttachment>();
        attachment->setAttachmentCell(std::move(cell));
        text.append(kit::AttributedString::withAttachment(attachment));
    };
    attach(std::make_shared<kit::TextAttachmentCell>(nullptr));
    attach(nullptr);
    for (const std::any& context : {std::any(42), std::any(std::string("file:///etc/passwd")),
                                    std::any(std::string("mailto:someone@example.com")),
                                    std::any(std::string("https://ok.example/"))}) {
        auto cell = std::make_shared<KRContextTextAttachmentCell>(nullptr);
        cell->setTextAttachmentContext(context);
        attach(cell);
    }
    textView.setAttributedString(text);
    for (std::size_t index = 0; index < 6; ++index) {
        textView.clickedOnAttachment(index, kit::Rect());
    }
    EXPECT_EQ(world().openedURLs(), std::vector<std::string>{"https://ok.example/"});

    struct Counter : kit::TextViewDelegate {
        int clicks = 0;
        void textViewClickedOnCell(kit::TextView&, kit::TextAttachmentCell&, const kit::Rect&,
                                   std::size_t) override {
            ++clicks;
        }
    } counter;
    textView.setDelegate(&counter);
    textView.clickedOnAttachment(1, kit::Rect());
    EXPECT_EQ(counter.clicks, 0) << "an attachment without a cell has nothing to click";
}

TEST_F(KRAboutPanelManagerTest, APanelMadeBeforeTheCommandGetsNoButton) {
    kit::StandardAboutPanel::orderFront({});
    manager().orderFrontStandardAboutPanel(nullptr);
    EXPECT_TRUE(kit::StandardAboutPanel::existing()->titlebarAccessoryViewControllers().empty());
}

TEST_F(KRAboutPanelManagerTest, CandidatesAreFixedSizeExactPanelsWithAWorkingCloseButton) {
    const auto panel = makePanel();
    const auto resizable =
        makePanel(kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable | kit::WindowStyleMaskResizable);
    const auto unclosable = makePanel(kit::WindowStyleMaskTitled);
    const auto disabled = makePanel();
    disabled->standardWindowButton(kit::WindowButton::Close)->setEnabled(false);
    const auto borderless = makePanel(kit::WindowStyleMaskBorderless);
    const PanelSubclass subclass(kit::Rect(), kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                                 kit::BackingStoreType::Buffered, false);
    const kit::Window window(kit::Rect(), kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                             kit::BackingStoreType::Buffered, false);
    const auto other = makePanel();

    EXPECT_EQ(aboutPanelCandidatesExcluding(nullptr), (std::vector<kit::Window*>{panel.get(), other.get()}));
    const std::vector<kit::Window*> before{panel.get()};
    EXPECT_EQ(aboutPanelCandidatesExcluding(&before), (std::vector<kit::Window*>{other.get()}));
    const std::vector<kit::Window*> both{panel.get(), other.get()};
    EXPECT_EQ(aboutPanelCandidatesExcluding(&both), std::nullopt);
}

TEST_F(KRAboutPanelManagerTest, FindsTheFirstTextViewAndSaysWhenThereIsABonusOne) {
    kit::View content(kit::Rect(0, 0, 100, 100));
    kit::View* group = content.addSubview(std::make_unique<kit::View>(kit::Rect()));
    kit::View* first = group->addSubview(std::make_unique<kit::TextView>(kit::Rect()));
    first->addSubview(std::make_unique<kit::TextView>(kit::Rect()));
    EXPECT_EQ(CreditsTextView::find(content).textView, first);
    EXPECT_TRUE(world().logMessages().empty()) << "a text view's own subviews are not searched";

    content.addSubview(std::make_unique<kit::StackView>(kit::Rect()))
        ->addSubview(std::make_unique<kit::TextView>(kit::Rect()));
    const CreditsTextView found = CreditsTextView::find(content);
    EXPECT_EQ(found.textView, first);
    EXPECT_TRUE(found.metStackView);
    EXPECT_EQ(world().logMessages(), (std::vector<std::string>{"unexpected bonus text view"}));
}

TEST_F(KRAboutPanelManagerTest, FitsCreditsToTheirScrollViewAtTheBoundaries) {
    struct Case {
        double scrollHeight;
        kit::Size text;
        bool moved;
        double width;  // of the text view left in place
    };
    for (const Case c : {Case{15, {300, 10}, false, 300}, Case{100, {300, 100.05}, true, 0},
                         Case{100, {300, 101}, false, 260}, Case{100, {260.05, 101}, false, 260.05},
                         Case{15.5, {300, 15.5}, true, 0}}) {
        SCOPED_TRACE(c.scrollHeight + c.text.height);
        const auto panel = makePanel();
        auto* scroll = static_cast<kit::ScrollView*>(panel->contentView()->addSubview(
            std::make_unique<kit::ScrollView>(kit::Rect(20, 30, 260, c.scrollHeight))));
        auto text = std::make_unique<kit::TextView>(kit::Rect(kit::Point{0, 4}, c.text));
        kit::TextView* textView = text.get();
        scroll->setDocumentView(std::move(text));

        fitCreditsToScrollView(*panel, *textView);
        EXPECT_EQ(scroll->isHidden(), c.moved);
        if (c.moved) {
            EXPECT_EQ(textView->superview(), panel->contentView());
            EXPECT_EQ(textView->frame(), scroll->frame());
        } else {
            EXPECT_EQ(textView->superview(), scroll->contentView());
            EXPECT_EQ(textView->frame(), kit::Rect(0, 4, c.width, c.text.height));
        }
    }
}

// Credits past their bounds are left out whole, and the log says why: the panel still shows, at once.
TEST(KRAboutPanelManagerCreditsTest, CreditsBeyondTheirBoundsAreLoggedAndLeftOut) {
    TemporaryFolder bundle;
    bundle.write("Info.plist", kit::PropertyListSerialization::write(
                                   kit::PropertyList::Dictionary{{"NSHumanReadableCopyright", "(c) L"}}));
    const auto credits = bundle.write("Credits.txt", std::string(AboutCredits::largestText + 1, 'x'));
    headless::HeadlessHost::Options options;
    options.bundleDirectory = bundle.path();
    headless::HeadlessHost host(options);
    KRAboutPanelManager::aboutPanelManager().orderFrontStandardAboutPanel(nullptr);
    ASSERT_NE(kit::StandardAboutPanel::existing(), nullptr);
    EXPECT_TRUE(kit::StandardAboutPanel::existing()->isVisible());
    EXPECT_EQ(host.logMessages(), std::vector<std::string>{"The About panel shows no credits: " +
                                                           credits.string() + " is larger than 64 KiB"});
}

const kit::ImageView* firstImageView(const kit::View& view) {
    if (const auto* image = dynamic_cast<const kit::ImageView*>(&view)) {
        return image;
    }
    for (const auto& subview : view.subviews()) {
        if (const kit::ImageView* found = firstImageView(*subview)) {
            return found;
        }
    }
    return nullptr;
}

TEST_F(KRAboutPanelManagerTest, ShowsTheIconTheBundleNames) {
    manager().orderFrontStandardAboutPanel(nullptr);
    const kit::ImageView* icon = firstImageView(*kit::StandardAboutPanel::existing()->contentView());
    ASSERT_NE(icon, nullptr);
    const std::shared_ptr<kit::Image> applicationIcon = kit::Application::shared().applicationIconImage();
    ASSERT_NE(applicationIcon, nullptr) << "the bundle names no icon it has";
    EXPECT_EQ(icon->image(), applicationIcon);
    // Drawn from the bundle's own document at the size shown: Awning's dark blue is there.
    const kit::Bitmap pixels = applicationIcon->bitmapForScale(64.0 / applicationIcon->size().width);
    ASSERT_EQ(pixels.width(), 64);
    bool darkBlue = false;
    for (int at = 0; at < pixels.width() * pixels.height(); ++at) {
        darkBlue |= pixels.pixel(at % 64, at / 64) == kit::Bitmap::RGBA8{0x1d, 0x2b, 0x3a, 255};
    }
    EXPECT_TRUE(darkBlue);
}

}  // namespace
