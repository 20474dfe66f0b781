#pragma once

#include <QWindow>
#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"

// A desktop session for the Qt host's tests: says what a test sets, presents overlays through surfaces that
// record what they are told, and records what the host asks of it.
class RecordingSession final : public qthost::DesktopSession {
public:
    struct Log {
        std::vector<std::string> overlayCalls;  // "geometry 0,0 400x30", "opacity 0.5 over 0.15", "show"...
        std::function<kit::Bitmap(double)> painter;
        std::vector<const QWindow*> activated;
    };

    bool knowsThePointer = true;
    bool keepsWindowsInPlace = true;
    bool presentsOverlays = false;
    std::shared_ptr<Log> log = std::make_shared<Log>();

    std::optional<kit::PropertyList::Array> windowList(std::uint32_t,
                                                       const std::vector<qthost::SessionScreen>&) override {
        return std::nullopt;
    }
    int activeSpace() const override { return 0; }
    bool knowsPointer() const override { return knowsThePointer; }
    qthost::SessionStatus status() const override { return {}; }
    bool windowsKeepTheirPlace() const override { return keepsWindowsInPlace; }
    std::unique_ptr<qthost::OverlaySurface> createOverlaySurface() override {
        return presentsOverlays ? std::make_unique<Surface>(log) : nullptr;
    }
    void windowShown(QWindow&) override {}
    void activate(QWindow& window) override { log->activated.push_back(&window); }
    void setActivationToken(const std::string&) override {}
    void sendQueuedRequests() override {}

private:
    class Surface final : public qthost::OverlaySurface {
    public:
        explicit Surface(std::shared_ptr<Log> log) : _log(std::move(log)) {}
        void setGeometry(const qthost::PixelRect& g) override {
            record("geometry " + std::to_string(g.x) + "," + std::to_string(g.y) + " " + std::to_string(g.width) +
                   "x" + std::to_string(g.height));
        }
        void setPainter(std::function<kit::Bitmap(double)> paint) override { _log->painter = std::move(paint); }
        void contentDidChange() override { record("content"); }
        void setOpacity(double opacity, double fadeSeconds) override {
            char line[64];
            std::snprintf(line, sizeof line, "opacity %.2f over %.2f", opacity, fadeSeconds);
            record(line);
        }
        void show() override { record("show"); }
        void hide() override { record("hide"); }

    private:
        void record(std::string call) { _log->overlayCalls.push_back(std::move(call)); }
        std::shared_ptr<Log> _log;
    };
};
