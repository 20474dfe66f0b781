#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kit {

// One property-list value: boolean, integer, real, string, data, date, array or dictionary. The
// readings answer as the platform's number and string objects do; dates, data, arrays and
// dictionaries do not answer them (nullopt). Values never change once made, so copies share their arrays
// and dictionaries: copying a window list or a settings domain costs no more than copying a pointer.
class PropertyList {
public:
    using Array = std::vector<PropertyList>;
    using Dictionary = std::map<std::string, PropertyList>;
    using Data = std::vector<std::uint8_t>;
    // A moment as seconds since the reference date, 2001-01-01 00:00:00 UTC.
    struct Date {
        double sinceReferenceDate = 0.0;
        friend bool operator==(const Date&, const Date&) = default;
    };
    enum class Type { Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

    PropertyList() : _value(false) {}
    PropertyList(bool value) : _value(value) {}
    PropertyList(int value) : _value(std::int64_t{value}) {}
    PropertyList(std::int64_t value) : _value(value) {}
    PropertyList(double value) : _value(value) {}
    PropertyList(const char* value) : _value(std::string(value)) {}
    PropertyList(std::string value) : _value(std::move(value)) {}
    PropertyList(Data value) : _value(std::move(value)) {}
    PropertyList(Date value) : _value(value) {}
    PropertyList(Array value) : _value(std::make_shared<const Array>(std::move(value))) {}
    PropertyList(Dictionary value) : _value(std::make_shared<const Dictionary>(std::move(value))) {}

    Type type() const { return static_cast<Type>(_value.index()); }
    bool isNumber() const {
        return type() == Type::Boolean || type() == Type::Integer || type() == Type::Real;
    }

    // Numbers give their value; strings skip leading white space and read the longest numeric prefix
    // ("0.5" → 0.5, " 12abc" → 12, "abc" → 0); other kinds do not answer.
    std::optional<double> doubleValue() const;
    std::optional<std::int64_t> integerValue() const;
    // Numbers: non-zero. Strings: after white space, a sign and leading zeros, "Y", "y", "T", "t" or a
    // digit 1-9 ("YES", "true", "y", "007"; but "0.5" is false, as on the platform).
    std::optional<bool> boolValue() const;

    // Typed access; nullptr when the value is of another kind.
    const std::string* string() const { return std::get_if<std::string>(&_value); }
    const Data* data() const { return std::get_if<Data>(&_value); }
    const Date* date() const { return std::get_if<Date>(&_value); }
    const Array* array() const {
        const auto* shared = std::get_if<std::shared_ptr<const Array>>(&_value);
        return shared ? shared->get() : nullptr;
    }
    const Dictionary* dictionary() const {
        const auto* shared = std::get_if<std::shared_ptr<const Dictionary>>(&_value);
        return shared ? shared->get() : nullptr;
    }
    // The value under `key` when this is a dictionary holding it, else nullptr.
    const PropertyList* find(const std::string& key) const;

    // The whole of `text` as a real in the file notation ("0.5", "-1e-3", "nan", "inf"), independent of
    // the process locale; nullopt when any of it is not part of the number.
    static std::optional<double> parseReal(const std::string& text);

    // Equal kinds and contents (a NaN real equals nothing, itself included).
    friend bool operator==(const PropertyList& a, const PropertyList& b);

private:
    std::variant<bool, std::int64_t, double, std::string, Data, Date, std::shared_ptr<const Array>,
                 std::shared_ptr<const Dictionary>>
        _value;
};

}  // namespace kit
