#pragma once

#include <QComboBox>
#include <functional>

namespace qthost {

// A combo box that only looks like one: opening it (click, or a key that opens a combo box) calls the
// handler instead of Qt's list, and nothing else (wheel, typing) changes its item. The kit pop-up button
// behind it tracks the menu and decides.
class PopUpComboBox final : public QComboBox {
public:
    explicit PopUpComboBox(QWidget* parent) : QComboBox(parent) {}

    void setOpenHandler(std::function<void()> handler) { _open = std::move(handler); }
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::function<void()> _open;
};

}  // namespace qthost
