#pragma once

#include <memory>
#include <utility>

#include "kit/appkit/View.h"
#include "support/GeometryPrinters.h"
#include "support/HeadlessTest.h"

// A headless world with a window-less row of views to lay out, on a Retina screen unless a test says
// otherwise.
class SizeToFitTest : public HeadlessTest {
protected:
    template <class ViewClass, class... Arguments>
    ViewClass& add(Arguments&&... arguments) {
        return static_cast<ViewClass&>(
            *_row.addSubview(std::make_unique<ViewClass>(std::forward<Arguments>(arguments)...)));
    }

    void useScreenScale(double scale) {
        kit::ScreenDescription screen = headless::HeadlessHost::plainScreen(1440, 900);
        screen.backingScaleFactor = scale;
        world().setScreens({screen});
    }

    // The size the host will report as `control`'s natural size.
    void setNaturalSize(const kit::Control& control, double width, double height) {
        world().controlPort().setCellSize(control, kit::Size{width, height});
    }

private:
    kit::View _row{kit::Rect(0, 0, 1000, 100)};
};
