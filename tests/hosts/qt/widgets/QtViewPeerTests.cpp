#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/ColorWellButton.h"
#include "hosts/qt/widgets/QtColorWellPeer.h"
#include "hosts/qt/widgets/QtSliderPeer.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Event.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/Window.h"

using qthost::QtWindowPeer;

namespace {

// Records each action's sender and the modifier flags current when it arrived.
class ActionRecorder : public kit::Object {
public:
    void changed(kit::Object* sender) {
        senders.push_back(sender);
        modifierFlags.push_back(kit::Event::modifierFlags());
    }
    std::vector<kit::Object*> senders;
    std::vector<std::uint64_t> modifierFlags;

    static const kit::DispatchTable& classDispatchTable() {
        static const kit::DispatchTable table(&Object::classDispatchTable(),
                                              {kit::action<&ActionRecorder::changed>("changed:")});
        return table;
    }

protected:
    const kit::DispatchTable& dispatchTable() const override { return classDispatchTable(); }
};

// A view whose subviews are placed from its top, as a flipped view's are.
class FlippedView final : public kit::View {
public:
    using View::View;
    bool isFlipped() const override { return true; }
};

}  // namespace

// A settings-like window: a slider, a check box, a colour well, a pop-up button and a label in a box,
// shown on the offscreen desktop.
class QtViewPeerTest : public testing::Test {
protected:
    QtViewPeerTest()
        : window(kit::Rect(100, 100, 400, 300), kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                 kit::BackingStoreType::Buffered, false) {
        window.setTitle("Awning Settings");
        kit::View& content = *window.contentView();
        slider = add<kit::Slider>(content, kit::Rect(20, 250, 200, 21));
        checkBox = add<kit::Button>(content, kit::Rect(20, 220, 160, 18));
        checkBox->setButtonType(kit::ButtonType::Switch);
        checkBox->setTitle("Start Awning at login");
        well = add<kit::ColorWell>(content, kit::Rect(20.4, 180.6, 44, 23));
        popUp = static_cast<kit::PopUpButton*>(
            content.addSubview(std::make_unique<kit::PopUpButton>(kit::Rect(20, 140, 120, 26), false)));
        for (const char* title : {"Never", "Daily", "Weekly"}) {
            popUp->addItemWithTitle(title);
        }
        box = add<kit::Box>(content, kit::Rect(200, 20, 150, 100));
        label = static_cast<kit::TextField*>(
            box->contentView()->addSubview(kit::TextField::labelWithString("Idle")));
        label->setFrame(kit::Rect(10, 10, 60, 17));
        for (kit::Control* control : std::initializer_list<kit::Control*>{slider, checkBox, well, popUp}) {
            control->setTarget(&recorder);
            control->setAction(kit::sel("changed:"));
        }
        window.makeKeyAndOrderFront(nullptr);
    }

    template <class T>
    T* add(kit::View& superview, const kit::Rect& frame) {
        return static_cast<T*>(superview.addSubview(std::make_unique<T>(frame)));
    }

    QtWindowPeer& peer() { return dynamic_cast<QtWindowPeer&>(*window.peer()); }
    template <class W>
    W& widgetOf(const kit::View& view) {
        qthost::QtViewPeer* viewPeer = peer().viewPeer(view);
        EXPECT_NE(viewPeer, nullptr);
        W* widget = qobject_cast<W*>(&viewPeer->widget());
        EXPECT_NE(widget, nullptr) << viewPeer->widget().metaObject()->className();
        return *widget;
    }

    qthost::QtHost host;
    ActionRecorder recorder;
    kit::Window window;
    kit::Slider* slider;
    kit::Button* checkBox;
    kit::ColorWell* well;
    kit::PopUpButton* popUp;
    kit::Box* box;
    kit::TextField* label;
};

TEST_F(QtViewPeerTest, EachKindOfViewIsItsWidgetPlacedFromTheTopOfItsSuperview) {
    const QWidget& top = peer().widget();
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(top.windowTitle(), QStringLiteral("Awning Settings"));
    EXPECT_EQ(top.geometry(), QRect(100, screenHeight - 400, 400, 300));
    EXPECT_TRUE(top.isVisible());
    // The title bar offers what the style mask allows.
    EXPECT_FALSE(top.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(top.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(top.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(top.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(top.minimumSize(), QSize(400, 300)) << "not resizable";
    EXPECT_EQ(top.maximumSize(), QSize(400, 300));

    // Content 300 high: a frame from y to y + h lies 300 - (y + h) from the top.
    EXPECT_EQ(widgetOf<QSlider>(*slider).geometry(), QRect(20, 29, 200, 21));
    EXPECT_EQ(widgetOf<QSlider>(*slider).orientation(), Qt::Horizontal);
    EXPECT_EQ(widgetOf<QCheckBox>(*checkBox).geometry(), QRect(20, 62, 160, 18));
    EXPECT_EQ(widgetOf<QCheckBox>(*checkBox).text(), QStringLiteral("Start Awning at login"));
    EXPECT_EQ(widgetOf<QPushButton>(*well).geometry(), QRect(20, 96, 44, 23)) << "edges rounded";
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).geometry(), QRect(20, 134, 120, 26));
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).currentText(), QStringLiteral("Never"));
    EXPECT_EQ(widgetOf<QGroupBox>(*box).geometry(), QRect(200, 180, 150, 100));
    EXPECT_EQ(widgetOf<QLabel>(*label).geometry(), QRect(10, 73, 60, 17)) << "inside the box's content view";
    EXPECT_EQ(widgetOf<QLabel>(*label).text(), QStringLiteral("Idle"));
    EXPECT_TRUE(widgetOf<QLabel>(*label).isVisible());

    auto* flipped = add<FlippedView>(*window.contentView(), kit::Rect(240, 200, 100, 80));
    auto* inFlipped = add<kit::Button>(*flipped, kit::Rect(5, 10, 60, 22));
    EXPECT_EQ(widgetOf<QWidget>(*flipped).geometry(), QRect(240, 20, 100, 80));
    EXPECT_EQ(widgetOf<QPushButton>(*inFlipped).geometry(), QRect(5, 10, 60, 22)) << "from a flipped top";
}

TEST_F(QtViewPeerTest, ChangesToTheModelReachTheWidgets) {
    slider->setDoubleValue(1.0);
    EXPECT_EQ(widgetOf<QSlider>(*slider).value(), 1000) << "the whole range";
    slider->setMaxValue(2.0);
    EXPECT_EQ(widgetOf<QSlider>(*slider).value(), 500) << "the range maps onto the whole track";

    checkBox->setState(kit::ControlStateValue::On);
    EXPECT_EQ(widgetOf<QCheckBox>(*checkBox).checkState(), Qt::Checked);
    checkBox->setState(kit::ControlStateValue::Mixed);
    EXPECT_EQ(widgetOf<QCheckBox>(*checkBox).checkState(), Qt::PartiallyChecked);
    checkBox->setEnabled(false);
    EXPECT_FALSE(widgetOf<QCheckBox>(*checkBox).isEnabled());

    well->setColor(kit::Color::sRGB(1.0, 0.5, 0.0, 0.5));
    EXPECT_EQ(static_cast<qthost::ColorWellButton&>(widgetOf<QPushButton>(*well)).color().rgba(),
              qRgba(255, 128, 0, 128));

    popUp->selectItemAtIndex(2);
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).currentText(), QStringLiteral("Weekly"));
    popUp->addItemWithTitle("Hourly");
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).count(), 4);
    popUp->setPullsDown(true);
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).currentText(), QStringLiteral("Never")) << "a pull-down's title";

    label->setStringValue("Hover & idle");
    EXPECT_EQ(widgetOf<QLabel>(*label).text(), QStringLiteral("Hover & idle"));
    box->setHidden(true);
    EXPECT_FALSE(widgetOf<QLabel>(*label).isVisible());

    window.setTitle("Settings");
    EXPECT_EQ(peer().widget().windowTitle(), QStringLiteral("Settings"));
    window.setFrame(kit::Rect(100, 100, 400, 340), true);
    EXPECT_EQ(widgetOf<QSlider>(*slider).geometry(), QRect(20, 69, 200, 21))
        << "a taller window moves views that keep their kit frames down from the top";
    EXPECT_TRUE(recorder.senders.empty()) << "changes made by the program send no action";
}

TEST(QtSliderPeer, TheKitsRangeMapsOntoWholeStepsAndBack) {
    struct Case {
        double value, minimum, maximum;
        int position;
    };
    const Case cases[] = {{0.0, 0.0, 1.0, 0},   {1.0, 0.0, 1.0, 1000}, {0.2, 0.0, 1.0, 200},
                          {0.6, 0.2, 1.0, 500}, {15, 10, 20, 500},     {0.33349, 0.0, 1.0, 333},
                          {0.5, 0.5, 0.5, 0},   {-3, -4, -2, 500}};
    for (const Case& c : cases) {
        EXPECT_EQ(qthost::QtSliderPeer::position(c.value, c.minimum, c.maximum), c.position) << c.value;
        if (c.maximum > c.minimum) {
            EXPECT_NEAR(qthost::QtSliderPeer::value(c.position, c.minimum, c.maximum), c.value,
                        (c.maximum - c.minimum) / 1000)
                << c.value;
        }
    }
}

TEST_F(QtViewPeerTest, AViewThatChangesKindOrJoinsLaterGetsItsWidget) {
    auto* later = add<kit::Button>(*box->contentView(), kit::Rect(10, 40, 80, 24));
    later->setTitle("Save & quit");
    EXPECT_EQ(widgetOf<QPushButton>(*later).text(), QStringLiteral("Save && quit"));
    EXPECT_EQ(widgetOf<QPushButton>(*later).geometry(), QRect(10, 36, 80, 24));

    label->setEditable(true);
    QLineEdit& field = widgetOf<QLineEdit>(*label);
    EXPECT_EQ(field.text(), QStringLiteral("Idle"));
    EXPECT_EQ(field.geometry(), QRect(10, 73, 60, 17));
    EXPECT_LT(field.parentWidget()->children().indexOf(&field),
              field.parentWidget()->children().indexOf(&widgetOf<QPushButton>(*later)))
        << "still below the button added after it";
    label->setTarget(&recorder);
    label->setAction(kit::sel("changed:"));
    field.setText(QStringLiteral("Busy"));
    emit field.editingFinished();
    EXPECT_EQ(label->stringValue(), "Busy");
    EXPECT_EQ(recorder.senders, (std::vector<kit::Object*>{label}));
    emit field.editingFinished();
    EXPECT_EQ(recorder.senders.size(), 1u) << "no action when nothing was edited";

    window.setContentView(std::make_unique<kit::View>(kit::Rect(0, 0, 400, 300)));
    EXPECT_EQ(peer().viewPeer(*window.contentView())->widget().children().size(), 0);
    EXPECT_EQ(peer().widget().findChildren<QSlider*>().size(), 0) << "the old views' widgets went with them";
}

TEST_F(QtViewPeerTest, TheUsersInputReachesTheKitWhichSendsTheAction) {
    QSlider& sliderWidget = widgetOf<QSlider>(*slider);
    // A click on the track takes the knob there; Shift held shows in the flags the action reads.
    QTest::mouseClick(&sliderWidget, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(sliderWidget.width() * 3 / 4, sliderWidget.height() / 2));
    ASSERT_EQ(recorder.senders, (std::vector<kit::Object*>{slider}));
    EXPECT_NEAR(slider->doubleValue(), 0.75, 0.05);
    EXPECT_EQ(recorder.modifierFlags.back() & kit::EventModifierFlagShift, kit::EventModifierFlagShift);

    QTest::mouseClick(&widgetOf<QCheckBox>(*checkBox), Qt::LeftButton);
    EXPECT_EQ(checkBox->state(), kit::ControlStateValue::On);
    EXPECT_EQ(recorder.senders.back(), checkBox);
    EXPECT_EQ(recorder.modifierFlags.back() & kit::EventModifierFlagShift, 0u);
    QTest::mouseClick(&widgetOf<QCheckBox>(*checkBox), Qt::LeftButton);
    EXPECT_EQ(checkBox->state(), kit::ControlStateValue::Off);
    EXPECT_EQ(widgetOf<QCheckBox>(*checkBox).checkState(), Qt::Unchecked);

    // The menu opens with the selected item; one down, and Return chooses "Daily".
    QTimer::singleShot(0, [] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(qobject_cast<QMenu*>(menu), nullptr);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(&widgetOf<QComboBox>(*popUp), Qt::LeftButton);
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
    EXPECT_EQ(widgetOf<QComboBox>(*popUp).currentText(), QStringLiteral("Daily"));
    EXPECT_EQ(recorder.senders.back(), popUp);
}

TEST_F(QtViewPeerTest, AColourPickedInTheDialogKeepsItsOpacityUnlessColoursIgnoreAlpha) {
    struct Case {
        bool ignoresAlpha;
        double alpha;
    };
    for (const Case c : {Case{false, 0.5}, Case{true, 1.0}}) {
        kit::Color::setIgnoresAlpha(c.ignoresAlpha);
        QTest::mouseClick(&widgetOf<QPushButton>(*well), Qt::LeftButton);
        QColorDialog* dialog = dynamic_cast<qthost::QtColorWellPeer&>(*peer().viewPeer(*well)).colorDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->testOption(QColorDialog::ShowAlphaChannel), !c.ignoresAlpha);
        dialog->setCurrentColor(QColor::fromRgbF(0.0f, 0.5f, 1.0f, 0.5f));
        dialog->accept();
        const kit::Color picked = well->color();
        EXPECT_NEAR(picked.component(0), 0.0, 0.01);
        EXPECT_NEAR(picked.component(2), 1.0, 0.01);
        EXPECT_NEAR(picked.alpha(), c.alpha, 0.01) << c.ignoresAlpha;
        EXPECT_EQ(recorder.senders.back(), well);
    }
}

// Closing the Qt window closes the kit's, which stays; a move the user made is where the kit places the
// window from, until the kit places it anew.
TEST_F(QtViewPeerTest, TheKitWindowFollowsWhatTheUserDoesToTheQtWindow) {
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    const kit::Rect placed = window.frame();
    peer().widget().move(30, 40);  // the frame, decorations included
    const QRect moved = peer().widget().geometry();
    ASSERT_NE(moved.topLeft(), QPoint(100, screenHeight - 400));
    EXPECT_EQ(window.frame(), kit::Rect(moved.x(), screenHeight - moved.bottom() - 1, 400, 300));

    peer().widget().close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(peer().widget().isVisible());
    window.setFrame(placed, true);
    window.makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(peer().widget().isVisible());
    EXPECT_EQ(peer().widget().geometry(), QRect(100, screenHeight - 400, 400, 300));
    EXPECT_EQ(widgetOf<QSlider>(*slider).geometry(), QRect(20, 29, 200, 21));
}
