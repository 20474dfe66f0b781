#pragma once

#include <QPropertyAnimation>
#include <map>
#include <memory>

#include "hosts/qt/widgets/LayerWidget.h"
#include "hosts/qt/widgets/QtMenuPresenter.h"
#include "hosts/qt/widgets/QtViewPeer.h"
#include "kit/appkit/WindowPeer.h"

namespace kit {
class View;
class Window;
}  // namespace kit

namespace qthost {

class QtHost;

// Presents one kit window as a top-level Qt window. A borderless window that ignores the mouse is an
// overlay: frameless, click-through, never focused, outside the window manager's control and translucent,
// painted from the window's layers. Any other window is an ordinary one (framed and titled unless
// borderless) whose views are real widgets, one presenter per view; closing it closes the kit window,
// and a size the style mask does not let the user change stays fixed. A window with a parent window (a
// popover's) is a tool window transient for its parent's, drawn with an edge, out of the task bars and
// pagers, and shown without taking the keyboard.
class QtWindowPeer final : public kit::WindowPeer {
public:
    QtWindowPeer(QtHost& host, kit::Window& window);
    ~QtWindowPeer() override;
    // A borderless window that ignores the mouse.
    static bool isOverlay(const kit::Window& window);

    void frameDidChange() override;
    void levelDidChange() override;
    void alphaDidChange(double fadeDuration) override;
    void didOrderFront() override;
    void didBecomeKey() override;
    void didClose() override;
    void contentDidChange() override;
    void titleDidChange() override;
    void contentViewDidChange() override;
    void viewDidChange(kit::View& view) override;
    // --- Titlebar accessories and removed views
    void titlebarAccessoriesDidChange() override;
    void viewWillBeRemoved(kit::View& view) override;

    LayerWidget& widget() { return *_widget; }
    // The presenter of `view`, or nullptr (an overlay's views have none).
    QtViewPeer* viewPeer(const kit::View& view) const;
    bool isFading() const { return _fade.state() == QAbstractAnimation::Running; }

private:
    static Qt::WindowFlags windowFlags(const kit::Window& window);
    // Where the compositor places our windows, a window that belongs to another is shown as its popup.
    void becomePopupOfParent();
    void render();
    // The widget's window on the platform, made now if it has none yet.
    QWindow& nativeWindow();
    void attachToParentWindow();
    // Where the kit's frame lies in Qt's coordinates, and putting the window there.
    QRect kitGeometry() const;
    // The kit's frame with the menu bar above it: what the top-level widget covers.
    QRect shownGeometry() const;
    int menuBarHeight() const;
    void applyFrame();
    void attachMenuBar();
    void layOutMenuBar();
    // The user or the window manager moved or resized the window: the kit's frame follows, so that the
    // kit's placements (centring a window shown again) start from where the window really is.
    void adoptShownFrame();
    void presentContentView();
    // The titlebar accessories' containers, laid out by the kit along the window's top edge, above the
    // content: window managers draw their own titlebars, which have no room for them.
    void presentTitlebarAccessories();
    // Presents `view` and its subviews inside `parent`.
    void present(kit::View& view, QWidget& parent);
    // Lets go of the presenters of `view` and its subviews, deleting their widgets.
    void forget(const kit::View& view);
    // Presents a view anew when its kind of widget no longer fits, in its place among its siblings.
    void presentAgain(kit::View& view);

    QtHost& _host;
    kit::Window& _window;
    // The window this one is a popup of; its kit window outlives this one's showing (a popover closes with
    // its anchor's window).
    QtWindowPeer* _popupParent = nullptr;
    std::unique_ptr<LayerWidget> _widget;
    // An ordinary closable window shows the application's menus in a bar above its content area.
    std::unique_ptr<QtMenuBar> _menuBar;
    std::unique_ptr<QWidget> _contentArea;
    QPropertyAnimation _fade;
    // After the widget: presenters go first, so no signal of a dying widget reaches a view.
    std::map<const kit::View*, std::unique_ptr<QtViewPeer>> _viewPeers;
};

}  // namespace qthost
