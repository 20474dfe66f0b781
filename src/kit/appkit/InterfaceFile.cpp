#include "kit/appkit/InterfaceFile.h"

#include <algorithm>
#include <map>

#include "kit/appkit/Box.h"
#include "kit/appkit/Button.h"
#include "kit/appkit/ColorWell.h"
#include "kit/appkit/Control.h"
#include "kit/appkit/PopUpButton.h"
#include "kit/appkit/Slider.h"
#include "kit/appkit/TabView.h"
#include "kit/appkit/TextField.h"
#include "kit/appkit/View.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/Log.h"

namespace kit {

namespace {

std::map<std::string, InterfaceFile::Builder>& builders() {
    static auto* registry = new std::map<std::string, InterfaceFile::Builder>;
    return *registry;
}

void registerKitClasses(std::map<std::string, ClassRegistry::Factory>& classes) {
    auto add = [&classes]<class T>(const char* name, T*) {
        classes[name] = [] { return ClassRegistry::Made{std::make_unique<T>(Rect{}), nullptr}; };
    };
    add("NSView", static_cast<View*>(nullptr));
    add("NSControl", static_cast<Control*>(nullptr));
    add("NSColorWell", static_cast<ColorWell*>(nullptr));
    add("NSButton", static_cast<Button*>(nullptr));
    add("NSSlider", static_cast<Slider*>(nullptr));
    add("NSTextField", static_cast<TextField*>(nullptr));
    add("NSBox", static_cast<Box*>(nullptr));
    add("NSTabView", static_cast<TabView*>(nullptr));
    classes["NSPopUpButton"] = [] {
        return ClassRegistry::Made{std::make_unique<PopUpButton>(Rect{}, false), nullptr};
    };
    classes["NSWindow"] = [] {
        return ClassRegistry::Made{
            std::make_unique<Window>(Rect{}, WindowStyleMaskTitled | WindowStyleMaskClosable,
                                     BackingStoreType::Buffered, true),
            nullptr};
    };
}

std::map<std::string, ClassRegistry::Factory>& classes() {
    static auto* registry = [] {
        auto* made = new std::map<std::string, ClassRegistry::Factory>;
        registerKitClasses(*made);
        return made;
    }();
    return *registry;
}

}  // namespace

// --- Files

void InterfaceFile::registerBuilder(const std::string& name, Builder builder) {
    builders()[name] = std::move(builder);
}

std::unique_ptr<InterfaceFile> InterfaceFile::initWithNibNamed(const std::string& name) {
    auto it = builders().find(name);
    if (it == builders().end()) {
        log("Could not load the interface file \"" + name + "\": there is no file of that name");
        return nullptr;
    }
    return std::unique_ptr<InterfaceFile>(new InterfaceFile(name, it->second));
}

bool InterfaceFile::instantiateWithOwner(Object* owner,
                                         std::vector<std::shared_ptr<Object>>& topLevelObjects) const {
    InterfaceBuilder builder;
    _builder(builder, owner);
    if (!builder._failure.empty()) {
        log("Could not load the interface file \"" + _name + "\": " + builder._failure);
        return false;  // the builder's objects go with it, and no outlet was touched
    }
    for (const auto& connect : builder._connections) {
        connect();
    }
    for (Object* object : builder._made) {
        object->awakeFromNib();
    }
    for (auto& object : builder._owned) {
        topLevelObjects.push_back(std::shared_ptr<Object>(std::move(object)));
    }
    for (Object* object : builder._shared) {
        topLevelObjects.push_back(std::shared_ptr<Object>(object, [](Object*) {}));  // never freed
    }
    return true;
}

// --- Classes

void ClassRegistry::registerFactory(const std::string& name, Factory factory) {
    classes()[name] = std::move(factory);
}

const ClassRegistry::Factory* ClassRegistry::find(const std::string& name) {
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : &it->second;
}

// --- Building

Object* InterfaceBuilder::makeObject(const std::string& className) {
    const ClassRegistry::Factory* factory = ClassRegistry::find(className);
    if (!factory) {
        fail("there is no class named " + className);
        return nullptr;
    }
    ClassRegistry::Made made = (*factory)();
    Object* object = made.owned ? made.owned.get() : made.shared;
    if (made.owned) {
        _owned.push_back(std::move(made.owned));
    } else if (std::find(_shared.begin(), _shared.end(), object) == _shared.end()) {
        _shared.push_back(object);
    }
    _made.push_back(object);
    return object;
}

std::unique_ptr<View> InterfaceBuilder::takeView(View* view) {
    auto it =
        std::find_if(_owned.begin(), _owned.end(), [view](const auto& owned) { return owned.get() == view; });
    if (!view || it == _owned.end()) {
        fail("a view was placed twice, or was not made by the file");
        return nullptr;
    }
    std::unique_ptr<View> taken(static_cast<View*>(it->release()));
    _owned.erase(it);
    return taken;
}

void InterfaceBuilder::addSubview(View* superview, View* view) {
    if (!superview) {
        fail("a view was placed in nothing");
    } else if (std::unique_ptr<View> taken = takeView(view)) {
        superview->addSubview(std::move(taken));
    }
}

void InterfaceBuilder::setContentView(Window* window, View* view) {
    if (!window) {
        fail("a view was placed in nothing");
    } else if (std::unique_ptr<View> taken = takeView(view)) {
        window->setContentView(std::move(taken));
    }
}

void InterfaceBuilder::fail(const std::string& reason) {
    if (_failure.empty()) {
        _failure = reason;
    }
}

}  // namespace kit
