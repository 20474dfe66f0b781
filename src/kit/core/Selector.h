#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kit {

// An interned operation name such as "positionTintWindow:". Two selectors with the same name are the
// same value, so storing, comparing and cancelling by selector are plain comparisons.
class Selector {
public:
    Selector() = default;  // the null selector, answered by nothing
    static Selector named(std::string_view name);

    const std::string& name() const;
    bool isNull() const { return _name == nullptr; }
    explicit operator bool() const { return !isNull(); }
    friend bool operator==(Selector, Selector) = default;

private:
    explicit Selector(const std::string* name) : _name(name) {}
    const std::string* _name = nullptr;
    friend struct std::hash<Selector>;
};

inline Selector sel(std::string_view name) {
    return Selector::named(name);
}

}  // namespace kit

template <>
struct std::hash<kit::Selector> {
    std::size_t operator()(kit::Selector selector) const noexcept {
        return std::hash<const void*>{}(selector._name);
    }
};
