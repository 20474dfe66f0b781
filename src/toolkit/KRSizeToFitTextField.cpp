#include "toolkit/KRSizeToFitTextField.h"

#include "toolkit/KRSizeViewToFit.h"

void KRSizeToFitTextField::awakeFromNib() {
    kit::TextField::awakeFromNib();
    if (isLabel()) {
        KRSizeViewToFit(*this);
    }
}

void KRSizeToFitTextField::setStringValue(const std::string& string) {
    kit::TextField::setStringValue(string);
    if (isLabel()) {
        KRSizeViewToFit(*this);
    }
}

void KRSizeToFitTextField::mouseDown(const kit::Event& event) {
    if (!_clickButton) {
        kit::TextField::mouseDown(event);
        return;
    }
    if (_clickButton->isEnabled()) {
        _clickButton->performClick(this);
    }
}
