#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/Object.h"

namespace kit {

// Interface files (nibs) are C++ builders registered by name. A builder makes the file's objects,
// connects the owner's outlets (never owning what they point to) and returns the top-level objects,
// which the caller must keep alive for as long as it uses them.
class InterfaceFile {
public:
    static constexpr std::string_view mainInterfaceFileName = "MainMenu";

    using Builder = std::function<std::vector<std::shared_ptr<Object>>(Object* owner)>;

    static void registerBuilder(const std::string& name, Builder builder);
    // Builds file `name` with `owner`; false (and nothing made, no outlet touched) when no such file exists.
    static bool instantiate(const std::string& name, Object* owner,
                            std::vector<std::shared_ptr<Object>>& topLevelObjects);
};

}  // namespace kit
