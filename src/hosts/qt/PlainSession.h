#pragma once

#include "hosts/qt/DesktopSession.h"

namespace qthost {

// A platform with no desktop of its own to read (Qt's offscreen platform in tests): screens and Qt's windows
// alone, no window list, the pointer as Qt knows it.
class PlainSession final : public DesktopSession {
public:
    std::optional<kit::PropertyList::Array> windowList(std::uint32_t,
                                                       const std::vector<SessionScreen>&) override {
        return std::nullopt;
    }
    int activeSpace() const override { return 0; }
    bool knowsPointer() const override { return true; }
    SessionStatus status() const override;

    bool windowsKeepTheirPlace() const override { return true; }
    std::unique_ptr<OverlaySurface> createOverlaySurface() override { return nullptr; }
    void windowShown(QWindow&) override {}
    void activate(QWindow& window) override;
    void setActivationToken(const std::string&) override {}
    void sendQueuedRequests() override {}
};

}  // namespace qthost
