#pragma once

#include <string>

#include "kit/appkit/Button.h"
#include "kit/appkit/TextField.h"
#include "toolkit/KRSizeToFitViewProtocol.h"

// A text field in a size-to-fit chain. As a plain label (neither bezeled nor bordered) it fits its text
// when its layout is loaded and whenever its text changes; a click on it can stand for a click on a
// button beside it (a check box's long explanation, say).
class KRSizeToFitTextField : public kit::TextField, public KRSizeToFitViewProtocol {
public:
    using kit::TextField::TextField;

    void awakeFromNib() override;
    void setStringValue(const std::string& string) override;
    // With a click button the click goes to it when it is enabled and nowhere when it is not; without one
    // the field handles the click itself.
    void mouseDown(const kit::Event& event) override;

    kit::View* nextSizeToFitView() const override { return _nextSizeToFitView; }
    void setNextSizeToFitView(kit::View* view) { _nextSizeToFitView = view; }
    kit::Button* clickButton() const { return _clickButton; }
    void setClickButton(kit::Button* button) { _clickButton = button; }

private:
    bool isLabel() const { return !isBezeled() && !isBordered(); }

    kit::View* _nextSizeToFitView = nullptr;
    kit::Button* _clickButton = nullptr;
};
