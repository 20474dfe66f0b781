#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "kit/core/Object.h"
#include "kit/geometry/Geometry.h"

namespace kit {

class InterfaceBuilder;
class View;
class Window;

// An interface file (NSNib). Files are C++ builders registered by name; the classes they name are
// resolved through a registry, so a class with a shared object yields that object. Loading makes the
// file's objects, then connects every outlet (never owning what it points to), then sends awakeFromNib
// to every object it made, in the order it made them; the objects no view or window took are the
// top-level objects, handed to the caller to keep. A file that cannot be found or loaded makes nothing,
// connects no outlet and says why in the log.
class InterfaceFile {
public:
    static constexpr std::string_view mainInterfaceFileName = "MainMenu";

    using Builder = std::function<void(InterfaceBuilder& builder, Object* owner)>;
    static void registerBuilder(const std::string& name, Builder builder);

    // initWithNibNamed:bundle: (the main bundle); nullptr, with a log line, when no file has that name.
    static std::unique_ptr<InterfaceFile> initWithNibNamed(const std::string& name);
    // instantiateWithOwner:topLevelObjects:; false when loading failed.
    bool instantiateWithOwner(Object* owner, std::vector<std::shared_ptr<Object>>& topLevelObjects) const;

    const std::string& name() const { return _name; }

private:
    InterfaceFile(std::string name, Builder builder) : _name(std::move(name)), _builder(std::move(builder)) {}

    std::string _name;
    Builder _builder;
};

// The classes interface files may name. The kit's own classes are there from the start.
class ClassRegistry {
public:
    struct Made {
        std::unique_ptr<Object> owned;
        Object* shared = nullptr;  // a shared object, never owned by a file
    };
    using Factory = std::function<Made()>;

    // A class made afresh for each object of it; views start with an empty frame.
    template <class T>
    static void registerClass(const std::string& name) {
        registerFactory(name, [] {
            if constexpr (std::is_default_constructible_v<T>) {
                return Made{std::make_unique<T>(), nullptr};
            } else {
                return Made{std::make_unique<T>(Rect{}), nullptr};
            }
        });
    }
    // A class with one shared object: every object of it that a file names is that object.
    template <class T>
    static void registerSharedClass(const std::string& name, T& (*shared)()) {
        registerFactory(name, [shared] { return Made{nullptr, &shared()}; });
    }
    static void registerFactory(const std::string& name, Factory factory);
    // nullptr when no class has that name.
    static const Factory* find(const std::string& name);
};

// What a builder uses to make one loading of its file.
class InterfaceBuilder {
public:
    // An object of the named class; nullptr, failing the loading, when there is no such class or it is
    // not a T.
    template <class T>
    T* make(const std::string& className) {
        Object* object = makeObject(className);
        T* typed = dynamic_cast<T*>(object);
        if (object && !typed) {
            fail("an object of class " + className + " is not of the kind its place needs");
        }
        return typed;
    }
    // The same for a view, given `frame`.
    template <class T>
    T* makeView(const std::string& className, const Rect& frame) {
        T* view = make<T>(className);
        if (view) {
            view->setFrame(frame);
        }
        return view;
    }

    // A view made here passes to its superview or window, and is no longer a top-level object.
    void addSubview(View* superview, View* view);
    void setContentView(Window* window, View* view);

    // Connects `outlet` to `object` once every object is made; a failed loading touches no outlet.
    template <class T, class U>
    void connect(T*& outlet, U* object) {
        static_assert(std::is_convertible_v<U*, T*>);
        _connections.push_back([&outlet, object] { outlet = object; });
    }
    // A connection of another kind (a delegate, a target), made at the same time as the outlets.
    void connect(std::function<void()> connection) { _connections.push_back(std::move(connection)); }

    // Fails the loading, with the reason for the log.
    void fail(const std::string& reason);

private:
    friend class InterfaceFile;
    Object* makeObject(const std::string& className);
    std::unique_ptr<View> takeView(View* view);

    std::vector<Object*> _made;                   // every object, in the order made
    std::vector<std::unique_ptr<Object>> _owned;  // objects no superview or window took
    std::vector<Object*> _shared;                 // shared objects the file named
    std::vector<std::function<void()>> _connections;
    std::string _failure;
};

}  // namespace kit
