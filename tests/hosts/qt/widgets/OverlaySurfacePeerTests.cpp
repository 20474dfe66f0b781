#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "hosts/qt/RecordingSession.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/widgets/OverlaySurfacePeer.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/AnimationContext.h"
#include "kit/appkit/Window.h"
#include "kit/quartz/Layer.h"

using qthost::QtHost;

namespace {

class Overlay final : public kit::Window {
public:
    explicit Overlay(const kit::Rect& frame)
        : kit::Window(frame, kit::WindowStyleMaskBorderless, kit::BackingStoreType::Buffered, false) {}
    bool ignoresMouseEvents() const override { return true; }
};

double primaryHeight() {
    return QGuiApplication::primaryScreen()->geometry().height();
}

}  // namespace

// Where the session presents overlays on its own (a Wayland layer surface), the overlay's peer hands it the
// frame in Qt's coordinates, the opacity with the fade's duration, the showing and hiding, and a painter
// of the window's layers at any scale; an ordinary window stays a Qt window.
TEST(OverlaySurfacePeer, HandsTheOverlayToTheSessionsSurface) {
    auto session = std::make_unique<RecordingSession>();
    session->presentsOverlays = true;
    const std::shared_ptr<RecordingSession::Log> log = session->log;
    QtHost host(std::move(session));
    Overlay overlay(kit::Rect(0, primaryHeight() - 30, 400, 30));
    overlay.contentView()->setWantsLayer(true);
    overlay.contentView()->layer()->setBackgroundColor(kit::Color::sRGB(1.0, 0.0, 0.0, 0.5));
    overlay.setAlphaValue(0.5);
    ASSERT_NE(dynamic_cast<qthost::OverlaySurfacePeer*>(overlay.peer()), nullptr);

    overlay.orderFront(nullptr);
    overlay.setFrame(kit::Rect(10, primaryHeight() - 24, 380, 24), true);
    kit::AnimationContext::beginGrouping();
    kit::AnimationContext::currentContext().setDuration(0.15);
    overlay.animator().setAlphaValue(0.0);
    kit::AnimationContext::endGrouping();
    overlay.close();
    EXPECT_EQ(log->overlayCalls,
              (std::vector<std::string>{"geometry 0,0 400x30", "opacity 0.50 over 0.00", "opacity 0.50 over 0.00",
                                        "show", "geometry 10,0 380x24", "content", "opacity 0.00 over 0.15",
                                        "hide"}))
        << "read whole when made, then told each change; a new size draws the layers anew";

    ASSERT_TRUE(log->painter);
    const kit::Bitmap pixels = log->painter(2.0);
    EXPECT_EQ(pixels.width(), 760);
    EXPECT_EQ(pixels.height(), 48);
    EXPECT_EQ(pixels.pixel(0, 0).red, 255);

    kit::Window ordinary(kit::Rect(100, 100, 200, 100), kit::WindowStyleMaskTitled, kit::BackingStoreType::Buffered,
                         false);
    ordinary.orderFront(nullptr);
    EXPECT_NE(dynamic_cast<qthost::QtWindowPeer*>(ordinary.peer()), nullptr);
}

// Qt tells a desktop that keeps the pointer to itself: the pointer then hovers nowhere.
TEST(OverlaySurfacePeer, APointerTheSessionCannotFollowIsOffEveryScreen) {
    auto session = std::make_unique<RecordingSession>();
    session->knowsThePointer = false;
    QtHost host(std::move(session));
    EXPECT_FALSE(host.knowsMouseLocation());
    const kit::Point pointer = host.mouseLocation();
    for (const kit::ScreenDescription& screen : host.screens()) {
        EXPECT_FALSE(kit::pointInRect(pointer, kit::insetRect(screen.frame, -1.0, -1.0)));
    }
}

// A window that belongs to another stays with it: a tool window where windows keep their place, else a popup.
TEST(OverlaySurfacePeer, AChildWindowStaysWithItsParent) {
    for (const bool keepPlace : {true, false}) {
        SCOPED_TRACE(keepPlace ? "windows keep their place" : "the compositor places windows");
        auto session = std::make_unique<RecordingSession>();
        session->keepsWindowsInPlace = keepPlace;
        QtHost host(std::move(session));
        kit::Window parent(kit::Rect(100, 100, 300, 200), kit::WindowStyleMaskTitled | kit::WindowStyleMaskClosable,
                           kit::BackingStoreType::Buffered, false);
        parent.orderFront(nullptr);
        kit::Window child(kit::Rect(150, 250, 100, 50), kit::WindowStyleMaskBorderless,
                          kit::BackingStoreType::Buffered, false);
        child.setParentWindow(&parent);
        child.orderFront(nullptr);
        auto& childPeer = dynamic_cast<qthost::QtWindowPeer&>(*child.peer());
        auto& parentPeer = dynamic_cast<qthost::QtWindowPeer&>(*parent.peer());
        const QWidget& widget = childPeer.widget();
        // A tool window the window manager keeps above its parent, or a popup the compositor places by it.
        EXPECT_EQ(widget.windowType(), keepPlace ? Qt::Tool : Qt::ToolTip);
        EXPECT_EQ(widget.windowHandle()->transientParent(), parentPeer.widget().windowHandle());
    }
}
