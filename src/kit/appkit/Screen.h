#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "kit/core/Host.h"

namespace kit {

// One display (NSScreen), a snapshot of what the host reported.
class Screen {
public:
    Screen(std::size_t index, ScreenDescription description) : _index(index), _description(description) {}

    // The ordered screens: the first carries the menu bar and has its frame at (0, 0). May be empty.
    static std::vector<Screen> screens();
    // The first screen, without building the whole list; nullopt when there is none.
    static std::optional<Screen> primary();

    std::size_t index() const { return _index; }
    Rect frame() const { return _description.frame; }
    // Where windows may go: the frame less the menu bar, panels and docks.
    Rect visibleFrame() const {
        return isEmptyRect(_description.visibleFrame) ? _description.frame : _description.visibleFrame;
    }
    double backingScaleFactor() const { return _description.backingScaleFactor; }
    EdgeInsets safeAreaInsets() const { return _description.safeAreaInsets; }
    Rect auxiliaryTopLeftArea() const { return _description.auxiliaryTopLeftArea; }
    Rect auxiliaryTopRightArea() const { return _description.auxiliaryTopRightArea; }

private:
    std::size_t _index;
    ScreenDescription _description;
};

}  // namespace kit
