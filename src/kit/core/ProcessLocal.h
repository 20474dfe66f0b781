#pragma once

#include <memory>

namespace kit {

class Host;

// Every piece of per-process state in the kit and the system joins this list by being a ProcessLocal,
// so installing a host (a new process, or a simulated restart in a test) can drop all of it without the
// core knowing any of its owners.
class ProcessLocalBase {
public:
    ProcessLocalBase(const ProcessLocalBase&) = delete;
    ProcessLocalBase& operator=(const ProcessLocalBase&) = delete;

protected:
    ProcessLocalBase();
    virtual ~ProcessLocalBase();

private:
    friend void installHost(Host& host);
    friend void uninstallHost(Host& host);

    // Drops every value, the most recently registered first, as static objects are destroyed.
    static void discardAll();
    virtual void discard() = 0;
};

// A value that belongs to one process: made by `make` (value-initialized when none is given) on first use
// in a process, and dropped when the process ends. Shared objects that must outlive static teardown
// allocate their ProcessLocal with `new` and never free it.
template <class T>
class ProcessLocal final : public ProcessLocalBase {
public:
    using Factory = std::unique_ptr<T> (*)();

    explicit ProcessLocal(Factory make = &valueInitialized) : _make(make) {}

    T& get() {
        if (!_value) {
            _value = _make();
        }
        return *_value;
    }

private:
    // The old value is destroyed after the slot is emptied: what its destructor asks for is the new
    // process's value, never a half-destroyed one.
    void discard() override { std::unique_ptr<T> old = std::move(_value); }
    static std::unique_ptr<T> valueInitialized() { return std::make_unique<T>(); }

    Factory _make;
    std::unique_ptr<T> _value;
};

}  // namespace kit
