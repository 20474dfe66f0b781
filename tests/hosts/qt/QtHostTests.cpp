#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/OverlaySurfacePeer.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/RunLoop.h"
#include "kit/quartz/Layer.h"
#include "kit/quartz/WindowList.h"

using qthost::QtHost;
using qthost::QtWindowPeer;

namespace {

// A desktop session for the Qt host's tests: says what a test sets, presents overlays through surfaces that
// record what they are told, and records what the host asks of it.
class RecordingSession final : public qthost::DesktopSession {
public:
    struct Log {
        std::vector<std::string> overlayCalls;  // "geometry 0,0 400x30", "opacity 0.5 over 0.15", "show"...
        std::function<kit::Bitmap(double)> painter;
    };

    bool knowsThePointer = true;
    bool keepsWindowsInPlace = true;
    bool presentsOverlays = false;
    std::shared_ptr<Log> log = std::make_shared<Log>();

    std::optional<kit::PropertyList::Array> windowList(std::uint32_t,
                                                       const std::vector<qthost::SessionScreen>&) override {
        return std::nullopt;
    }
    int activeSpace() const override { return 0; }
    bool knowsPointer() const override { return knowsThePointer; }
    qthost::SessionStatus status() const override { return {}; }
    bool windowsKeepTheirPlace() const override { return keepsWindowsInPlace; }
    std::unique_ptr<qthost::OverlaySurface> createOverlaySurface() override {
        return presentsOverlays ? std::make_unique<Surface>(log) : nullptr;
    }
    void windowShown(QWindow&) override {}
    void activate(QWindow&) override {}
    void setActivationToken(const std::string&) override {}
    void sendQueuedRequests() override {}

private:
    class Surface final : public qthost::OverlaySurface {
    public:
        explicit Surface(std::shared_ptr<Log> log) : _log(std::move(log)) {}
        void setGeometry(const qthost::PixelRect& g) override {
            record("geometry " + std::to_string(g.x) + "," + std::to_string(g.y) + " " +
                   std::to_string(g.width) + "x" + std::to_string(g.height));
        }
        void setPainter(std::function<kit::Bitmap(double)> paint) override {
            _log->painter = std::move(paint);
        }
        void contentDidChange() override { record("content"); }
        void setOpacity(double opacity, double fadeSeconds) override {
            char line[64];
            std::snprintf(line, sizeof line, "opacity %.2f over %.2f", opacity, fadeSeconds);
            record(line);
        }
        void show() override { record("show"); }
        void hide() override { record("hide"); }

    private:
        void record(std::string call) { _log->overlayCalls.push_back(std::move(call)); }
        std::shared_ptr<Log> _log;
    };
};

// A click-through tint: its layer red at half opacity, the window at half opacity.
class Overlay final : public kit::Window {
public:
    explicit Overlay(const kit::Rect& frame)
        : kit::Window(frame, kit::WindowStyleMaskBorderless, kit::BackingStoreType::Buffered, false) {
        contentView()->setWantsLayer(true);
        contentView()->layer()->setBackgroundColor(kit::Color::sRGB(1.0, 0.0, 0.0, 0.5));
        setAlphaValue(0.5);
    }
    bool ignoresMouseEvents() const override { return true; }

    void fadeOutOver(double seconds) {
        kit::AnimationContext::beginGrouping();
        kit::AnimationContext::currentContext().setDuration(seconds);
        animator().setAlphaValue(0.0);
        kit::AnimationContext::endGrouping();
    }
};

double primaryHeight() {
    return QGuiApplication::primaryScreen()->geometry().height();
}

QtWindowPeer& peerOf(kit::Window& window) {
    return dynamic_cast<QtWindowPeer&>(*window.peer());
}

}  // namespace

TEST(QtHost, WithoutX11ItOffersScreensButNoWindowList) {
    QtHost host;
    EXPECT_EQ(&kit::host(), &host);
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_FALSE(host.screens().empty());
    EXPECT_EQ(host.screens().front().frame, kit::Rect(0, 0, size.width(), size.height()));
    EXPECT_FALSE(host.windowList(kit::WindowListOptionOnScreenOnly, 0));
    EXPECT_EQ(host.activeSpace(), 0);
    QCursor::setPos(10, 0);
    EXPECT_EQ(host.mouseLocation(), (kit::Point{10, static_cast<double>(size.height())}));
    // resources/linux/com.larkspur.Awning.desktop, by the identifier in the build tree's Info.plist.
    EXPECT_EQ(QGuiApplication::desktopFileName(), "com.larkspur.Awning") << "the launcher docks look for";
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

// Qt tells a desktop that keeps the pointer to itself: the pointer then hovers nowhere.
TEST(QtHost, APointerTheSessionCannotFollowIsOffEveryScreen) {
    auto session = std::make_unique<RecordingSession>();
    session->knowsThePointer = false;
    QtHost host(std::move(session));
    EXPECT_FALSE(host.knowsMouseLocation());
    const kit::Point pointer = host.mouseLocation();
    for (const kit::ScreenDescription& screen : host.screens()) {
        EXPECT_FALSE(kit::pointInRect(pointer, kit::insetRect(screen.frame, -1.0, -1.0)));
    }
}

TEST(QtWindowPeer, AClickThroughBorderlessWindowIsATranslucentOverlayPaintedAtTheScreensScale) {
    QtHost host;
    Overlay window(kit::Rect(0, primaryHeight() - 30, 400, 30));
    window.orderFront(nullptr);
    QtWindowPeer& peer = peerOf(window);
    const auto& widget = peer.widget();
    for (Qt::WindowType flag :
         {Qt::FramelessWindowHint, Qt::WindowTransparentForInput, Qt::WindowDoesNotAcceptFocus,
          Qt::X11BypassWindowManagerHint, Qt::WindowStaysOnTopHint}) {
        EXPECT_TRUE(widget.windowFlags().testFlag(flag)) << flag;
    }
    EXPECT_TRUE(widget.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(widget.geometry(), QRect(0, 0, 400, 30));
    EXPECT_NEAR(widget.windowOpacity(), 0.5, 0.01);

    window.setFrame(kit::Rect(0, primaryHeight() - 24, 400, 24), true);
    EXPECT_EQ(widget.geometry(), QRect(0, 0, 400, 24));
    peer.contentDidChange();
    const double scale = widget.devicePixelRatioF();
    EXPECT_EQ(widget.content().width(), static_cast<int>(400 * scale));
    EXPECT_EQ(widget.content().height(), static_cast<int>(24 * scale));
    EXPECT_EQ(widget.content().pixel(0, 0).red, 255);
    EXPECT_NEAR(widget.content().pixel(0, 0).alpha, 128, 1);

    window.fadeOutOver(0.15);
    EXPECT_TRUE(peer.isFading());
    // A change at once stops the fade where it is and shows the new value.
    window.setAlphaValue(1.0);
    EXPECT_FALSE(peer.isFading());
    EXPECT_NEAR(widget.windowOpacity(), 1.0, 0.01);
    window.close();
    EXPECT_FALSE(widget.isVisible());
}

// A window that belongs to another stays with it: a tool window where windows keep their place (above its
// parent, not above all, edged, and kept so whatever the policy), else a popup the compositor places by it.
TEST(QtWindowPeer, AChildWindowStaysWithItsParent) {
    for (const bool keepPlace : {true, false}) {
        SCOPED_TRACE(keepPlace ? "windows keep their place" : "the compositor places windows");
        auto session = std::make_unique<RecordingSession>();
        session->keepsWindowsInPlace = keepPlace;
        QtHost host(std::move(session));
        kit::Window parent(kit::Rect(100, 100, 300, 200),
                           kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                           kit::BackingStoreType::Buffered, false);
        parent.makeKeyAndOrderFront(nullptr);
        kit::Window child(kit::Rect(150, 50, 180, 100), kit::WindowStyleMaskBorderless,
                          kit::BackingStoreType::Buffered, false);
        child.setParentWindow(&parent);
        child.orderFront(nullptr);
        const auto& widget = peerOf(child).widget();
        EXPECT_EQ(widget.windowType(), keepPlace ? Qt::Tool : Qt::ToolTip);
        ASSERT_NE(widget.windowHandle(), nullptr);
        EXPECT_EQ(widget.windowHandle()->transientParent(), peerOf(parent).widget().windowHandle());
        EXPECT_FALSE(widget.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(widget.testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_TRUE(widget.drawsEdge());
        // The accessory policy makes every window a tool window and the regular one takes that back: not a
        // child's.
        ASSERT_TRUE(host.applicationPort().setActivationPolicy(1));
        ASSERT_TRUE(host.applicationPort().setActivationPolicy(0));
        EXPECT_EQ(widget.windowType(), keepPlace ? Qt::Tool : Qt::ToolTip);
        EXPECT_NE(peerOf(parent).widget().windowType(), Qt::Tool);
    }
}

// Where the session presents overlays on its own (a Wayland layer surface), the overlay's peer hands it the
// frame in Qt's coordinates, the opacity with the fade's duration, the showing and hiding, and a painter
// of the window's layers at any scale; an ordinary window stays a Qt window.
TEST(OverlaySurfacePeer, HandsTheOverlayToTheSessionsSurface) {
    auto session = std::make_unique<RecordingSession>();
    session->presentsOverlays = true;
    const std::shared_ptr<RecordingSession::Log> log = session->log;
    QtHost host(std::move(session));
    Overlay overlay(kit::Rect(0, primaryHeight() - 30, 400, 30));
    ASSERT_NE(dynamic_cast<qthost::OverlaySurfacePeer*>(overlay.peer()), nullptr);
    overlay.orderFront(nullptr);
    overlay.setFrame(kit::Rect(10, primaryHeight() - 24, 380, 24), true);
    overlay.fadeOutOver(0.15);
    overlay.close();
    EXPECT_EQ(log->overlayCalls,
              (std::vector<std::string>{"geometry 0,0 400x30", "opacity 0.50 over 0.00",
                                        "opacity 0.50 over 0.00", "show", "geometry 10,0 380x24", "content",
                                        "opacity 0.00 over 0.15", "hide"}))
        << "read whole when made, then told each change; a new size draws the layers anew";

    ASSERT_TRUE(log->painter);
    const kit::Bitmap pixels = log->painter(2.0);
    EXPECT_EQ(pixels.width(), 760);
    EXPECT_EQ(pixels.height(), 48);
    EXPECT_EQ(pixels.pixel(0, 0).red, 255);

    kit::Window ordinary(kit::Rect(100, 100, 200, 100), kit::WindowStyleMaskTitled,
                         kit::BackingStoreType::Buffered, false);
    ordinary.orderFront(nullptr);
    EXPECT_NE(dynamic_cast<QtWindowPeer*>(ordinary.peer()), nullptr);
}
