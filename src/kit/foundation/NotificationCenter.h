#pragma once

#include <string>
#include <vector>

#include "kit/core/Object.h"
#include "kit/core/Selector.h"

namespace kit {

// A posted notification; it arrives as the argument of the observer's selector and is never nil.
class Notification : public Object {
public:
    Notification(std::string name, Object* object) : _name(std::move(name)), _object(object) {}
    const std::string& name() const { return _name; }
    Object* object() const { return _object; }

private:
    std::string _name;
    Object* _object;
};

inline constexpr const char* WorkspaceActiveSpaceDidChangeNotification =
    "NSWorkspaceActiveSpaceDidChangeNotification";
inline constexpr const char* WorkspaceDidActivateApplicationNotification =
    "NSWorkspaceDidActivateApplicationNotification";
inline constexpr const char* WindowDidUpdateNotification = "NSWindowDidUpdateNotification";

class NotificationCenter {
public:
    // The application's default centre and the workspace's own centre.
    static NotificationCenter& defaultCenter();
    static NotificationCenter& workspaceCenter();

    // `observer` receives `selector` with the notification whenever `name` is posted by `sender`, or by
    // anyone when `sender` is nullptr. An empty name matches every name.
    void addObserver(Object& observer, Selector selector, const std::string& name, Object* sender = nullptr);
    // Removes every registration of `observer` in this centre.
    void removeObserver(Object& observer);
    // Delivers synchronously to the matching observers, in the order they registered.
    void post(const std::string& name, Object* sender = nullptr);

    std::size_t observerCount() const { return _observers.size(); }
    // Removes `observer` from every centre; objects do so when they are destroyed.
    static void objectWillBeDestroyed(Object& observer);

private:
    struct Registration {
        Object* observer;
        Selector selector;
        std::string name;
        Object* sender;
        std::uint64_t id;
    };

    bool isRegistered(std::uint64_t id) const;

    std::vector<Registration> _observers;
    std::uint64_t _nextId = 0;
};

}  // namespace kit
