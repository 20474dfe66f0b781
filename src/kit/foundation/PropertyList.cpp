#include "kit/foundation/PropertyList.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>

namespace kit {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipSpace(const std::string& text, std::size_t at) {
    while (at < text.size() && isSpace(text[at])) {
        ++at;
    }
    return at;
}

std::size_t skipDigits(const std::string& text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

std::size_t skipSign(const std::string& text, std::size_t at) {
    return at < text.size() && (text[at] == '+' || text[at] == '-') ? at + 1 : at;
}

// The decimal number the string starts with, after white space; 0 when there is none.
double leadingDouble(const std::string& text) {
    const std::size_t start = skipSpace(text, 0);
    std::size_t end = skipSign(text, start);
    const std::size_t integerEnd = skipDigits(text, end);
    bool hasDigits = integerEnd > end;
    end = integerEnd;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        const std::size_t exponentStart = skipSign(text, end + 1);
        const std::size_t exponentEnd = skipDigits(text, exponentStart);
        if (exponentEnd > exponentStart) {
            end = exponentEnd;
        }
    }
    return PropertyList::parseReal(text.substr(start, end - start)).value_or(0.0);
}

// The integer the string starts with, after white space, saturated to the int64 range; 0 when there is
// none. A fraction or exponent that follows is ignored, as the platform does ("12.9" → 12).
std::int64_t leadingInteger(const std::string& text) {
    std::size_t at = skipSpace(text, 0);
    const bool negative = at < text.size() && text[at] == '-';
    at = skipSign(text, at);
    std::int64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        const int digit = text[at] - '0';
        if (negative) {
            if (value < (std::numeric_limits<std::int64_t>::min() + digit) / 10) {
                return std::numeric_limits<std::int64_t>::min();
            }
            value = value * 10 - digit;
        } else {
            if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
                return std::numeric_limits<std::int64_t>::max();
            }
            value = value * 10 + digit;
        }
    }
    return value;
}

// The platform's rule: after white space, a sign and leading zeros, "Y", "y", "T", "t" or a digit 1–9
// means true. So "0.5" is false while "00100" is true.
bool leadingBool(const std::string& text) {
    std::size_t at = skipSign(text, skipSpace(text, 0));
    while (at < text.size() && text[at] == '0') {
        ++at;
    }
    if (at == text.size()) {
        return false;
    }
    const char c = text[at];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

// Truncation toward zero, saturated; NaN has no integer and reads as 0.
std::int64_t truncatedInteger(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double limit = 9223372036854775808.0;  // 2^63
    if (value >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::optional<double> PropertyList::parseReal(const std::string& text) {
    // strtod follows the process locale, which a desktop application sets from the user's; numbers in
    // property lists always use a point.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (text.empty() || isSpace(text.front())) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, cLocale);
    if (end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> PropertyList::doubleValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(_value) ? 1.0 : 0.0;
        case Type::Integer:
            return static_cast<double>(std::get<std::int64_t>(_value));
        case Type::Real:
            return std::get<double>(_value);
        case Type::String:
            return leadingDouble(std::get<std::string>(_value));
        default:
            return std::nullopt;
    }
}

std::optional<std::int64_t> PropertyList::integerValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(_value) ? 1 : 0;
        case Type::Integer:
            return std::get<std::int64_t>(_value);
        case Type::Real:
            return truncatedInteger(std::get<double>(_value));
        case Type::String:
            return leadingInteger(std::get<std::string>(_value));
        default:
            return std::nullopt;
    }
}

std::optional<bool> PropertyList::boolValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(_value);
        case Type::Integer:
            return std::get<std::int64_t>(_value) != 0;
        case Type::Real:
            return std::get<double>(_value) != 0.0;
        case Type::String:
            return leadingBool(std::get<std::string>(_value));
        default:
            return std::nullopt;
    }
}

bool operator==(const PropertyList& a, const PropertyList& b) {
    if (a.type() != b.type()) {
        return false;
    }
    if (const PropertyList::Array* items = a.array()) {
        return *items == *b.array();
    }
    if (const PropertyList::Dictionary* items = a.dictionary()) {
        return *items == *b.dictionary();
    }
    return a._value == b._value;
}

const PropertyList* PropertyList::find(const std::string& key) const {
    const Dictionary* values = dictionary();
    if (!values) {
        return nullptr;
    }
    const auto found = values->find(key);
    return found == values->end() ? nullptr : &found->second;
}

}  // namespace kit
