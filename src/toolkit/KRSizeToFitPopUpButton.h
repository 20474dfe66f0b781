#pragma once

#include "toolkit/KRSizeToFitStaticPopUpButton.h"

// A pop-up button as wide as its selected item rather than its widest one. It refits when its layout is
// loaded, whenever an item is selected, and after a menu choice unless it pulls down. An item with a
// custom view and a negative tag is decoration: choosing it puts the previous selection back.
class KRSizeToFitPopUpButton : public KRSizeToFitStaticPopUpButton {
public:
    using KRSizeToFitStaticPopUpButton::KRSizeToFitStaticPopUpButton;

    void awakeFromNib() override;
    void sizeToFit() override;
    void selectItemAtIndex(long index) override;
    bool selectItemWithTag(long tag) override;
    void mouseDown(const kit::Event& event) override;

private:
    double itemWidth(const kit::MenuItem& item) const;
};
