#pragma once

#include <cstdint>
#include <limits>

#include "kit/core/Host.h"

namespace kit {

// A value that belongs to one process: each host installation (a new process, or a simulated restart in
// a test) starts it afresh, from `initial` when one is given, else value-initialized.
template <class T>
class ProcessLocal {
public:
    explicit ProcessLocal(T (*initial)() = nullptr) : _initial(initial) {}

    T& get() {
        if (_process != processGeneration()) {
            _process = processGeneration();
            _value = _initial ? _initial() : T{};
        }
        return _value;
    }

private:
    T (*_initial)();
    std::uint64_t _process = std::numeric_limits<std::uint64_t>::max();
    T _value{};
};

}  // namespace kit
