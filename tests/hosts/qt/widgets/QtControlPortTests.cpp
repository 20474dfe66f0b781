#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <string>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/QtFonts.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"
#include "toolkit/KRSizeToFitPopUpButton.h"

namespace {

std::unique_ptr<kit::Button> button(kit::ButtonType type, const std::string& title) {
    auto made = std::make_unique<kit::Button>(kit::Rect());
    made->setButtonType(type);
    made->setTitle(title);
    return made;
}

}  // namespace

// A control sized to fit is never smaller than the widget that shows it wants to be, in the desktop's
// style and font: no label, title or item is clipped.
TEST(QtControlPort, ControlsSizedToFitGiveTheirWidgetsAllTheRoomTheyWant) {
    qthost::QtHost host;
    kit::Window window(kit::Rect(0, 0, 600, 400), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       false);
    window.orderFront(nullptr);
    auto& peer = dynamic_cast<qthost::QtWindowPeer&>(*window.peer());
    struct Case {
        const char* name;
        std::function<std::unique_ptr<kit::Control>()> make;
    };
    const Case cases[] = {
        {"label", [] { return kit::TextField::labelWithString("Opacity when the pointer is away"); }},
        {"bold label",
         [] {
             auto label = kit::TextField::labelWithString("Colours");
             label->setFont(kit::Font::systemFontOfSize(13, kit::FontWeightBold));
             label->sizeToFit();
             return label;
         }},
        {"push button", [] { return button(kit::ButtonType::MomentaryPushIn, "Check for Updates…"); }},
        {"check box", [] { return button(kit::ButtonType::Switch, "Start Awning at login"); }},
        // Fitted across to its selected item, here the widest; it keeps its height.
        {"fitted pop-up button",
         [] {
             auto popUp = std::make_unique<KRSizeToFitPopUpButton>(kit::Rect(), false);
             popUp->addItemWithTitle("Never");
             popUp->addItemWithTitle("Every day at noon");
             popUp->selectItemAtIndex(1);
             popUp->setFrame(kit::Rect(0, 0, 0, popUp->cellSize().height));
             return popUp;
         }},
    };
    for (const auto& c : cases) {
        std::unique_ptr<kit::Control> control = c.make();
        control->sizeToFit();
        kit::View* shown = window.contentView()->addSubview(std::move(control));
        const QWidget& widget = peer.viewPeer(*shown)->widget();
        EXPECT_GE(widget.width(), widget.sizeHint().width()) << c.name;
        EXPECT_GE(widget.height(), widget.sizeHint().height()) << c.name;
        // Qt fits a combo box to its items' ink, we to their advance: a pixel or two apart.
        EXPECT_LE(widget.width(), widget.sizeHint().width() + 3) << c.name << ": no more than it needs";
    }

    // A line edit's hint is a fixed width whatever its text: the text itself must fit inside its frame.
    const std::string longText = "a text longer than seventeen letters";
    auto field = std::make_unique<kit::TextField>(kit::Rect());
    field->setStringValue(longText);
    field->sizeToFit();
    kit::View* shown = window.contentView()->addSubview(std::move(field));
    const auto& lineEdit = static_cast<const QLineEdit&>(peer.viewPeer(*shown)->widget());
    EXPECT_GT(lineEdit.width(),
              QFontMetrics(lineEdit.font()).horizontalAdvance(QString::fromStdString(longText)));
    EXPECT_GE(lineEdit.height(), lineEdit.sizeHint().height());
}

// The kit's system size stands for the desktop's interface font; other sizes scale with it.
TEST(QtFonts, KitSizesAreRelativeToTheDesktopsInterfaceFont) {
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    ASSERT_GT(desktop.pointSizeF(), 0.0);
    struct Case {
        kit::Font font;
        double scale;
        QFont::Weight weight;
    };
    const Case cases[] = {
        {kit::Font::systemFontOfSize(13), 1.0, QFont::Normal},
        {kit::Font::systemFontOfSize(26, kit::FontWeightBold), 2.0, QFont::Bold},
        {kit::Font::systemFontOfSize(11, kit::FontWeightMedium), 11.0 / 13.0, QFont::Medium},
        {kit::Font("DejaVu Serif", 13), 1.0, QFont::Normal},
    };
    for (const Case& c : cases) {
        const QFont font = qthost::qtFont(c.font);
        EXPECT_NEAR(font.pointSizeF(), desktop.pointSizeF() * c.scale, 0.01) << c.font.pointSize();
        EXPECT_EQ(font.weight(), c.weight) << c.font.pointSize();
    }
    EXPECT_EQ(qthost::qtFont(kit::Font("DejaVu Serif", 13)).family(), QStringLiteral("DejaVu Serif"));
}
