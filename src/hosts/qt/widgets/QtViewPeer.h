#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace kit {
class View;
}

namespace qthost {

// Presents one kit view as a child widget; one subclass per kind of view. The presenter reads the view's
// state into its widget and hands the user's input back to the view's own entry points, so the kit sends
// the actions. The widget belongs to its parent widget; a presenter that goes deletes it, with its children.
class QtViewPeer {
public:
    // A presenter of the kind `view` needs, its widget made inside `parent`, not yet read from the view.
    static std::unique_ptr<QtViewPeer> make(kit::View& view, QWidget& parent);
    virtual ~QtViewPeer();
    QtViewPeer(const QtViewPeer&) = delete;
    QtViewPeer& operator=(const QtViewPeer&) = delete;

    kit::View& view() const { return _view; }
    QWidget& widget() const { return *_widget; }

    // False when the view changed into something another kind of widget shows (a label made editable).
    virtual bool presents(const kit::View& view) const;
    // Reads everything the view shows: placement, visibility, enabled state, font and content.
    void sync();
    // Places the widget by the view's frame. Kit frames are unflipped, measured from the bottom of the
    // superview (of the window for the content view); widgets are placed from the top.
    void place();

protected:
    QtViewPeer(kit::View& view, QWidget* widget);
    // The receiver of this presenter's connections: they end with the presenter, never reaching a view
    // whose presenter is gone.
    QObject& receiver() const { return *_receiver; }

private:
    virtual void syncContent() {}

    kit::View& _view;
    QPointer<QWidget> _widget;
    std::unique_ptr<QObject> _receiver = std::make_unique<QObject>();
};

}  // namespace qthost
