#include "kit/appkit/InterfaceFile.h"

#include <map>

namespace kit {

namespace {

std::map<std::string, InterfaceFile::Builder>& builders() {
    static auto* registry = new std::map<std::string, InterfaceFile::Builder>;
    return *registry;
}

}  // namespace

void InterfaceFile::registerBuilder(const std::string& name, Builder builder) {
    builders()[name] = std::move(builder);
}

bool InterfaceFile::instantiate(const std::string& name, Object* owner,
                                std::vector<std::shared_ptr<Object>>& topLevelObjects) {
    auto it = builders().find(name);
    if (it == builders().end()) {
        return false;
    }
    topLevelObjects = it->second(owner);
    return true;
}

}  // namespace kit
