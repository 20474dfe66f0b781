#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/RunLoop.h"
#include "kit/quartz/Layer.h"
#include "kit/quartz/WindowList.h"

using qthost::QtHost;
using qthost::QtWindowPeer;

namespace {

class Overlay final : public kit::Window {
public:
    explicit Overlay(const kit::Rect& frame)
        : kit::Window(frame, kit::WindowStyleMaskBorderless, kit::BackingStoreType::Buffered, false) {}
    bool ignoresMouseEvents() const override { return true; }
};

QSize primarySize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

QtWindowPeer& peerOf(kit::Window& window) {
    return dynamic_cast<QtWindowPeer&>(*window.peer());
}

}  // namespace

TEST(QtHost, WithoutX11ItOffersScreensButNoWindowList) {
    QtHost host;
    EXPECT_EQ(&kit::host(), &host);
    const QSize size = primarySize();
    ASSERT_FALSE(host.screens().empty());
    EXPECT_EQ(host.screens().front().frame, kit::Rect(0, 0, size.width(), size.height()));
    EXPECT_FALSE(host.windowList(kit::WindowListOptionOnScreenOnly, 0));
    EXPECT_EQ(host.activeSpace(), 0);

    QCursor::setPos(10, 0);
    EXPECT_EQ(host.mouseLocation(), (kit::Point{10, static_cast<double>(size.height())}));
}

TEST(QtHost, NamesTheLauncherByTheBundleIdentifierForDocksAndCompositors) {
    QtHost host;
    // resources/linux/com.larkspur.Awning.desktop, by the identifier in the build tree's Info.plist.
    EXPECT_EQ(QGuiApplication::desktopFileName(), "com.larkspur.Awning");
}

TEST(QtHost, DelayedCallsRunOnQtsEventLoop) {
    QtHost host;
    bool ran = false;
    kit::dispatchAfter(0.0, [&] { ran = true; });
    EXPECT_FALSE(ran);
    for (int turn = 0; turn < 200 && !ran; ++turn) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    EXPECT_TRUE(ran);
}

TEST(QtWindowPeer, AClickThroughBorderlessWindowIsATranslucentOverlay) {
    QtHost host;
    const double height = primarySize().height();
    Overlay window(kit::Rect(0, height - 30, 400, 30));
    window.setAlphaValue(0.5);
    QtWindowPeer& peer = peerOf(window);
    const QWidget& widget = peer.widget();
    for (Qt::WindowType flag :
         {Qt::FramelessWindowHint, Qt::WindowTransparentForInput, Qt::WindowDoesNotAcceptFocus,
          Qt::X11BypassWindowManagerHint, Qt::WindowStaysOnTopHint}) {
        EXPECT_TRUE(widget.windowFlags().testFlag(flag)) << flag;
    }
    EXPECT_TRUE(widget.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(widget.geometry(), QRect(0, 0, 400, 30));
    EXPECT_NEAR(widget.windowOpacity(), 0.5, 0.01);

    window.setFrame(kit::Rect(0, height - 24, 400, 24), true);
    EXPECT_EQ(widget.geometry(), QRect(0, 0, 400, 24));

    kit::AnimationContext::beginGrouping();
    kit::AnimationContext::currentContext().setDuration(0.15);
    window.animator().setAlphaValue(0.0);
    kit::AnimationContext::endGrouping();
    EXPECT_TRUE(peer.isFading());
    // A change at once stops the fade where it is and shows the new value.
    window.setAlphaValue(1.0);
    EXPECT_FALSE(peer.isFading());
    EXPECT_NEAR(widget.windowOpacity(), 1.0, 0.01);
}

TEST(QtWindowPeer, PaintsTheWindowsLayersAtTheScreensScale) {
    QtHost host;
    Overlay window(kit::Rect(0, 0, 20, 10));
    window.contentView()->setWantsLayer(true);
    window.contentView()->layer()->setBackgroundColor(kit::Color::sRGB(1.0, 0.0, 0.0, 0.5));
    window.orderFront(nullptr);
    QtWindowPeer& peer = peerOf(window);
    peer.contentDidChange();
    const kit::Bitmap& content = peer.widget().content();
    const double scale = peer.widget().devicePixelRatioF();
    EXPECT_EQ(content.width(), static_cast<int>(20 * scale));
    EXPECT_EQ(content.height(), static_cast<int>(10 * scale));
    EXPECT_EQ(content.pixel(0, 0).red, 255);
    EXPECT_NEAR(content.pixel(0, 0).alpha, 128, 1);

    window.close();
    EXPECT_FALSE(peer.widget().isVisible());
}

TEST(QtWindowPeer, APopoversWindowIsAnEdgedToolWindowOfItsParentWhateverThePolicy) {
    QtHost host;
    kit::Window parent(kit::Rect(100, 100, 300, 200), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                       false);
    parent.makeKeyAndOrderFront(nullptr);
    kit::Window popover(kit::Rect(150, 50, 180, 100), kit::WindowStyleMaskBorderless,
                        kit::BackingStoreType::Buffered, false);
    popover.setParentWindow(&parent);
    popover.orderFront(nullptr);
    const QWidget& widget = peerOf(popover).widget();
    EXPECT_EQ(widget.windowType(), Qt::Tool);
    EXPECT_FALSE(widget.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "above its parent, not above all";
    EXPECT_TRUE(widget.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(peerOf(popover).widget().drawsEdge());
    ASSERT_NE(widget.windowHandle(), nullptr);
    EXPECT_EQ(widget.windowHandle()->transientParent(), peerOf(parent).widget().windowHandle());

    // The accessory policy makes every window a tool window and the regular one takes that back: not a
    // popover's.
    ASSERT_TRUE(host.applicationPort().setActivationPolicy(1));
    ASSERT_TRUE(host.applicationPort().setActivationPolicy(0));
    EXPECT_EQ(widget.windowType(), Qt::Tool);
    EXPECT_NE(peerOf(parent).widget().windowType(), Qt::Tool);
}
