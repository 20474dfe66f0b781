#pragma once

#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "kit/core/Selector.h"

namespace kit {

class Object;

// The operations a class answers by selector: target/action, delayed calls and notifications. Each
// class keeps one static table that chains to its base class's table, so lookups follow inheritance.
class DispatchTable {
public:
    using Handler = void (*)(Object& receiver, Object* argument);
    using Entry = std::pair<Selector, Handler>;

    DispatchTable(const DispatchTable* base, std::initializer_list<Entry> entries);

    // The handler for `selector` in this class or a base class, or nullptr.
    Handler find(Selector selector) const;

private:
    const DispatchTable* _base;
    std::unordered_map<Selector, Handler> _entries;
};

namespace detail {
template <class>
struct ActionMethod;
template <class T>
struct ActionMethod<void (T::*)(Object*)> {
    using Class = T;
    static constexpr bool takesArgument = true;
};
template <class T>
struct ActionMethod<void (T::*)()> {
    using Class = T;
    static constexpr bool takesArgument = false;
};
}  // namespace detail

// A dispatch-table entry that sends `name` to `Method`, a member taking the argument object or nothing.
template <auto Method>
DispatchTable::Entry action(std::string_view name) {
    using Traits = detail::ActionMethod<decltype(Method)>;
    return {Selector::named(name), [](Object& receiver, Object* argument) {
                auto& target = static_cast<typename Traits::Class&>(receiver);
                if constexpr (Traits::takesArgument) {
                    (target.*Method)(argument);
                } else {
                    (void)argument;
                    (target.*Method)();
                }
            }};
}

// Base of every kit and system object that can be a target, an observer or a delayed-call argument.
// Destroying an object withdraws it from the run loop and every notification centre, so no delayed
// call or notification can reach it afterwards.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    bool respondsTo(Selector selector) const { return dispatchTable().find(selector) != nullptr; }

    // Sends `selector` with `argument`; false when this object does not answer it.
    bool perform(Selector selector, Object* argument = nullptr);

    // The interface-file loader calls this on every object it made, once every outlet is connected.
    virtual void awakeFromNib() {}

    static const DispatchTable& classDispatchTable();

protected:
    // Every class with actions overrides this to return its own static table.
    virtual const DispatchTable& dispatchTable() const { return classDispatchTable(); }
};

}  // namespace kit
