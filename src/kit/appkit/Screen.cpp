#include "kit/appkit/Screen.h"

namespace kit {

std::vector<Screen> Screen::screens() {
    std::vector<Screen> screens;
    const std::vector<ScreenDescription>& descriptions = host().screens();
    screens.reserve(descriptions.size());
    for (std::size_t index = 0; index < descriptions.size(); ++index) {
        screens.emplace_back(index, descriptions[index]);
    }
    return screens;
}

std::optional<Screen> Screen::primary() {
    const std::vector<ScreenDescription>& descriptions = host().screens();
    if (descriptions.empty()) {
        return std::nullopt;
    }
    return Screen(0, descriptions.front());
}

}  // namespace kit
