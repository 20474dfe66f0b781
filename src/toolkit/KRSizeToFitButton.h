#pragma once

#include <string>

#include "toolkit/KRSizeToFitStaticButton.h"

// A button that fits its title: when its layout is loaded and whenever its title changes.
class KRSizeToFitButton : public KRSizeToFitStaticButton {
public:
    using KRSizeToFitStaticButton::KRSizeToFitStaticButton;

    void awakeFromNib() override;
    void setTitle(const std::string& title) override;
};
