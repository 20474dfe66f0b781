#pragma once

#include <memory>

#include "app/KRMainController.h"
#include "kit/core/Selector.h"
#include "support/HeadlessTest.h"

// How many window events of `kind` the world recorded.
std::size_t countEvents(const headless::HeadlessHost& world, headless::WindowEvent::Kind kind);

// A headless world with a 1440 × 900 primary screen and one controller, not yet launched.
class TintOverlayTest : public HeadlessTest {
protected:
    TintOverlayTest();
    ~TintOverlayTest() override;

    KRMainController& controller() { return *_controller; }
    // Launch as a returning user (the settings window was shown before), unless told otherwise.
    void launch(bool returningUser = true);
    void showMenuBar(double height = 24.0);
    void hideMenuBar();
    void postSpaceChange();
    std::size_t pendingChecks() const;
    std::size_t pendingLayoutPasses() const;
    double nextCheckTime() const;

    static const kit::Selector checkSelector;
    static const kit::Selector layoutSelector;

private:
    std::unique_ptr<KRMainController> _controller;
};
