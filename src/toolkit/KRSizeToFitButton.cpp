#include "toolkit/KRSizeToFitButton.h"

#include "toolkit/KRSizeViewToFit.h"

void KRSizeToFitButton::awakeFromNib() {
    KRSizeToFitStaticButton::awakeFromNib();
    KRSizeViewToFit(*this);
}

void KRSizeToFitButton::setTitle(const std::string& title) {
    KRSizeToFitStaticButton::setTitle(title);
    KRSizeViewToFit(*this);
}
