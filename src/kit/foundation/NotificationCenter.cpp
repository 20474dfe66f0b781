#include "kit/foundation/NotificationCenter.h"
#include "kit/core/ProcessLocal.h"

#include <algorithm>

namespace kit {

namespace {
const bool withdrawsDestroyedObservers =
    Object::callOnDestruction(&NotificationCenter::objectWillBeDestroyed);
}  // namespace

NotificationCenter& NotificationCenter::defaultCenter() {
    static auto* center = new ProcessLocal<NotificationCenter>;  // never destroyed, like the platform's
    return center->get();
}

NotificationCenter& NotificationCenter::workspaceCenter() {
    static auto* center = new ProcessLocal<NotificationCenter>;
    return center->get();
}

void NotificationCenter::addObserver(Object& observer, Selector selector, const std::string& name,
                                     Object* sender) {
    _observers.push_back({&observer, selector, name, sender, _nextId++});
}

void NotificationCenter::removeObserver(Object& observer) {
    std::erase_if(_observers, [&](const Registration& entry) { return entry.observer == &observer; });
}

bool NotificationCenter::isRegistered(std::uint64_t id) const {
    return std::any_of(_observers.begin(), _observers.end(),
                       [&](const Registration& entry) { return entry.id == id; });
}

void NotificationCenter::post(const std::string& name, Object* sender) {
    Notification notification(name, sender);
    // Observers may add or remove registrations while being called: deliver to a snapshot, skipping
    // any registration removed meanwhile.
    const std::vector<Registration> snapshot = _observers;
    for (const Registration& entry : snapshot) {
        const bool nameMatches = entry.name.empty() || entry.name == name;
        const bool senderMatches = entry.sender == nullptr || entry.sender == sender;
        if (nameMatches && senderMatches && isRegistered(entry.id)) {
            entry.observer->perform(entry.selector, &notification);
        }
    }
}

void NotificationCenter::objectWillBeDestroyed(Object& observer) {
    defaultCenter().removeObserver(observer);
    workspaceCenter().removeObserver(observer);
}

}  // namespace kit
